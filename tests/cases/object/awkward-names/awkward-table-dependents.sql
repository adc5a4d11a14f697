ALTER TABLE [my schema].[it's [a].b c] WITH NOCHECK ADD CHECK ([it's]>(0)) 
GO

IF OBJECT_ID('[d'zero]', 'D') IS NULL 
	EXEC("CREATE DEFAULT [my schema].[d'zero] AS 0")
GO

