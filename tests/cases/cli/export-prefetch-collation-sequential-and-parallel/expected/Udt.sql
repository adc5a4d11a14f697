IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'empid' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[empid] FROM [char](9) NOT NULL
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'id' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[id] FROM [varchar](11) NOT NULL
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.types WHERE name = 'tid' AND schema_id = SCHEMA_ID('dbo') ) 
BEGIN 
	CREATE TYPE [dbo].[tid] FROM [varchar](6) NOT NULL
END
GO

