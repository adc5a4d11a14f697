CREATE FULLTEXT INDEX ON [Production].[ProductReview] ([Comments] LANGUAGE 1033 STATISTICAL_SEMANTICS) KEY INDEX [PK_ProductReview_ProductReviewID] ON [AW2016FullTextCatalog] WITH (CHANGE_TRACKING = AUTO, STOPLIST = [ProductReviewStoplist]);
GO
