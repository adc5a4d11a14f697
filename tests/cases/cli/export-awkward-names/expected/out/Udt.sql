IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'it's [a].b c' AND schema_id = SCHEMA_ID('bob's') ) 
BEGIN 
	CREATE TYPE [bob's].[it's [a].b c] FROM [varchar](10)  NULL
END
GO

