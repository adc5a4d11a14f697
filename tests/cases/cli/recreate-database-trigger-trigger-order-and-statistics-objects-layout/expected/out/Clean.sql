DROP TRIGGER IF EXISTS [ddlDatabaseTriggerLog] ON DATABASE;
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_indexes WHERE object_id = OBJECT_ID(N'[Production].[Product]')) DROP FULLTEXT INDEX ON [Production].[Product];
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_catalogs WHERE name = N'CyclingCatalog') DROP FULLTEXT CATALOG [CyclingCatalog];
GO
DROP TRIGGER IF EXISTS [Production].[uProductLog];
GO
DROP TRIGGER IF EXISTS [Production].[uProduct];
GO
IF EXISTS (SELECT 1 FROM sys.stats WHERE object_id = OBJECT_ID(N'[Production].[Product]') AND name = N'st_Product_SellStartDate') DROP STATISTICS [Production].[Product].[st_Product_SellStartDate];
GO
IF EXISTS (SELECT 1 FROM sys.stats WHERE object_id = OBJECT_ID(N'[Production].[Product]') AND name = N'st_Product_Color_ListPrice') DROP STATISTICS [Production].[Product].[st_Product_Color_ListPrice];
GO
DROP TABLE IF EXISTS [Production].[Product];
GO
DROP TABLE IF EXISTS [dbo].[DatabaseLog];
GO
DROP SCHEMA IF EXISTS [Production];
GO
