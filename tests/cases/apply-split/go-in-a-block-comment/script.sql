SELECT 1
/* the next line is no batch end
GO
   /* nested */ still inside
go
*/
SELECT 2
GO
