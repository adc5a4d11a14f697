CREATE UNIQUE CLUSTERED INDEX [IX_vProductReviewComments] ON [Production].[vProductReviewComments] ([ProductReviewID] ASC);
GO
