IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'Quantity' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[Quantity] FROM [int] NOT NULL
	EXEC sp_bindefault '[dbo].[dfltZero]', '[dbo].[Quantity]' 
END
GO

