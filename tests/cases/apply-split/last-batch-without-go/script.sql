SELECT 1
GO


-- a comment first
SELECT 2