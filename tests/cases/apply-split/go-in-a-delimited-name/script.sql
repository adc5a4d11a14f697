CREATE TABLE [odd
GO
name] (a int)
GO
SELECT "quoted
GO
"
GO
