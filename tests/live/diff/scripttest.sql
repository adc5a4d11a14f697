-- Changes made to a recreated copy of scripttest, rows first; the copy is migrated back by sqlscripts diff.
INSERT INTO [sales].[Region] ([RegionName]) VALUES (N'Northeast'), (N'Southwest')
GO
ALTER TABLE [sales].[Region] ADD [Code] char(2) NULL
GO
ALTER TABLE [sales].[Region] DROP CONSTRAINT [uq_region_name]
GO
DROP VIEW [sales].[vRegions]
GO
CREATE VIEW [sales].[vRegions] AS SELECT RegionId, RegionName, Code FROM sales.Region
GO
