SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW Production.vProductReviewComments WITH SCHEMABINDING
AS SELECT ProductReviewID, Comments FROM Production.ProductReview
GO
CREATE UNIQUE CLUSTERED INDEX [IX_vProductReviewComments] ON [Production].[vProductReviewComments] ([ProductReviewID] ASC);
GO
