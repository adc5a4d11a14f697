-- rows of a table dropped since
GO
