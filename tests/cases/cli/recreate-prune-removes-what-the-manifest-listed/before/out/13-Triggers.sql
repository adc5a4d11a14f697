-- the trigger of a table dropped since
GO
