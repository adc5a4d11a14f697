IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'flag' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[flag] FROM [int]  NULL
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'phone' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[phone] FROM [varchar](20) NOT NULL
	EXEC sp_bindefault '[dbo].[dflt]', '[dbo].[phone]' 
END
GO

