CREATE TABLE [Production].[ProductReview] (
    [ProductReviewID] [int] NOT NULL,
    [ReviewerName] [nvarchar](50) NOT NULL,
    [Comments] [nvarchar](3850) NULL,
    CONSTRAINT [PK_ProductReview_ProductReviewID] PRIMARY KEY CLUSTERED ([ProductReviewID] ASC)
);
GO
