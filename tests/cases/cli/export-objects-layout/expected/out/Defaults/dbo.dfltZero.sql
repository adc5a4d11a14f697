IF OBJECT_ID('[dfltZero]', 'D') IS NULL 
	EXEC("CREATE DEFAULT dbo.dfltZero  AS 0")
GO

