CREATE VIEW [dbo].[PlantedNames] AS SELECT [Name] FROM [dbo].[Planted];
GO
