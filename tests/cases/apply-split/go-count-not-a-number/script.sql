SELECT 1
go x
