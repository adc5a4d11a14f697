IF NOT EXISTS (SELECT 1 FROM sys.schemas WHERE name = 'sales')
	EXECUTE ('CREATE SCHEMA sales')
GO

