IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'Phone' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[Phone] FROM [varchar](20)  NULL
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'Quantity' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[Quantity] FROM [int] NOT NULL
	EXEC sp_bindefault '[dbo].[dfltZero]', '[dbo].[Quantity]' 
END
GO

