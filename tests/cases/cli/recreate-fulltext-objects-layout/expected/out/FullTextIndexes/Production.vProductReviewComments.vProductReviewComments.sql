CREATE FULLTEXT INDEX ON [Production].[vProductReviewComments] ([Comments] LANGUAGE 1033) KEY INDEX [IX_vProductReviewComments] ON [AW2016FullTextCatalog] WITH (CHANGE_TRACKING = AUTO, STOPLIST = SYSTEM);
GO
