-- a trigger dropped since
GO
