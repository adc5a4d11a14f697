-- it's a comment, not a string
SELECT 1 -- [not a name
GO
SELECT 2
GO
