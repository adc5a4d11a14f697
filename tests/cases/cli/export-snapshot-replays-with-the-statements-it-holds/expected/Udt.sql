IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'amount' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[amount] FROM [decimal](18, 4)  NULL
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'code' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[code] FROM [varchar](10)  NULL
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'flag' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[flag] FROM [bit] NOT NULL
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'shortname' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[shortname] FROM [nvarchar](20) NOT NULL
END
GO

