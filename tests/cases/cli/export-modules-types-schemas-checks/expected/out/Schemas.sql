IF NOT EXISTS (SELECT 1 FROM sys.schemas WHERE name = 'sales')
	EXECUTE ('CREATE SCHEMA sales')
GO

IF NOT EXISTS (SELECT 1 FROM sys.schemas WHERE name = 'my schema')
	EXECUTE ('CREATE SCHEMA my schema')
GO

