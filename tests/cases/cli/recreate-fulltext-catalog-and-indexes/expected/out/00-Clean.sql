IF EXISTS (SELECT 1 FROM sys.fulltext_indexes WHERE object_id = OBJECT_ID(N'[Production].[vProductReviewComments]')) DROP FULLTEXT INDEX ON [Production].[vProductReviewComments];
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_indexes WHERE object_id = OBJECT_ID(N'[Production].[ProductReview]')) DROP FULLTEXT INDEX ON [Production].[ProductReview];
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_indexes WHERE object_id = OBJECT_ID(N'[Production].[Document]')) DROP FULLTEXT INDEX ON [Production].[Document];
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_indexes WHERE object_id = OBJECT_ID(N'[HumanResources].[JobCandidate]')) DROP FULLTEXT INDEX ON [HumanResources].[JobCandidate];
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_catalogs WHERE name = N'AW2016FullTextCatalog') DROP FULLTEXT CATALOG [AW2016FullTextCatalog];
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_stoplists WHERE name = N'ProductReviewStoplist') DROP FULLTEXT STOPLIST [ProductReviewStoplist];
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_stoplists WHERE name = N'EmptyStoplist') DROP FULLTEXT STOPLIST [EmptyStoplist];
GO
IF EXISTS (SELECT 1 FROM sys.registered_search_property_lists WHERE name = N'DocumentPropertyList') DROP SEARCH PROPERTY LIST [DocumentPropertyList];
GO
IF OBJECT_ID(N'[Production].[vProductReviewComments]', N'V') IS NOT NULL DROP INDEX IF EXISTS [IX_vProductReviewComments] ON [Production].[vProductReviewComments];
GO
DROP VIEW IF EXISTS [Production].[vProductReviewComments];
GO
IF OBJECT_ID(N'[Production].[Document]', N'U') IS NOT NULL DROP INDEX IF EXISTS [UQ_Document_rowguid] ON [Production].[Document];
GO
DROP TABLE IF EXISTS [Production].[ProductReview];
GO
DROP TABLE IF EXISTS [Production].[Document];
GO
DROP TABLE IF EXISTS [HumanResources].[JobCandidate];
GO
DROP SCHEMA IF EXISTS [Production];
GO
DROP SCHEMA IF EXISTS [HumanResources];
GO
