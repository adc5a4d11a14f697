-- the stoplist changes inside the transaction, the index after it
CREATE FULLTEXT STOPLIST [Words];
GO
ALTER FULLTEXT INDEX ON [dbo].[Docs] SET STOPLIST = [Words];
GO
