IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'Phone' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[Phone] FROM [varchar](20)  NULL
END
GO

