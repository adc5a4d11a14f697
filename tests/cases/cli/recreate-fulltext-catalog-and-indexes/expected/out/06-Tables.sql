CREATE TABLE [HumanResources].[JobCandidate] (
    [JobCandidateID] [int] NOT NULL,
    [Resume] [xml] NULL,
    CONSTRAINT [PK_JobCandidate_JobCandidateID] PRIMARY KEY CLUSTERED ([JobCandidateID] ASC)
);
GO
CREATE TABLE [Production].[Document] (
    [DocumentID] [int] NOT NULL,
    [rowguid] [uniqueidentifier] ROWGUIDCOL NOT NULL,
    [FileExtension] [nvarchar](8) NOT NULL,
    [Document] [varbinary](max) NULL,
    CONSTRAINT [PK_Document_DocumentID] PRIMARY KEY CLUSTERED ([DocumentID] ASC)
);
GO
CREATE TABLE [Production].[ProductReview] (
    [ProductReviewID] [int] NOT NULL,
    [ReviewerName] [nvarchar](50) NOT NULL,
    [Comments] [nvarchar](3850) NULL,
    CONSTRAINT [PK_ProductReview_ProductReviewID] PRIMARY KEY CLUSTERED ([ProductReviewID] ASC)
);
GO
