-- Changes made to a copy of dependents.sql's database: the function that two views use changes, a view over
-- a view changes, a column a view uses goes with the view, and the two tables that reference each other go
-- (their names sort parent last).
DROP VIEW [dbo].[vTopRates]
GO
DROP VIEW [dbo].[vRates]
GO
DROP FUNCTION [dbo].[fnRate]
GO
CREATE FUNCTION [dbo].[fnRate](@n int) RETURNS int AS BEGIN RETURN @n * 3 END
GO
CREATE VIEW [dbo].[vRates] AS SELECT [OrderId], [dbo].[fnRate]([Rate]) AS [Rated] FROM [dbo].[Orders]
GO
CREATE VIEW [dbo].[vTopRates] AS SELECT [OrderId], [Rated] FROM [dbo].[vRates] WHERE [Rated] > 3
GO
DROP VIEW [dbo].[vRatings]
GO
ALTER TABLE [dbo].[Orders] DROP COLUMN [Rating]
GO
ALTER TABLE [dbo].[Zones] DROP CONSTRAINT [FK_Zones_Hubs]
GO
DROP TABLE [dbo].[Hubs]
GO
DROP TABLE [dbo].[Zones]
GO
