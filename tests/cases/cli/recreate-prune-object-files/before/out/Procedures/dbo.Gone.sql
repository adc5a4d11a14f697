-- a procedure dropped since
GO
