-- A database whose objects use each other, for migrations where a change has dependents: a function that a
-- view calls, a view over that view, a view over a column that goes, and two tables that reference each
-- other. dependents-changed.sql changes a copy of it. The test server drops no default (server-limits): a
-- default's function changes in the golden cases only.
CREATE FUNCTION [dbo].[fnRate](@n int) RETURNS int AS BEGIN RETURN @n * 2 END
GO
CREATE TABLE [dbo].[Orders] ([OrderId] int NOT NULL CONSTRAINT [PK_Orders] PRIMARY KEY, [Rate] int NULL,
    [Rating] int NULL)
GO
CREATE VIEW [dbo].[vRates] AS SELECT [OrderId], [dbo].[fnRate]([Rate]) AS [Rated] FROM [dbo].[Orders]
GO
CREATE VIEW [dbo].[vTopRates] AS SELECT [OrderId], [Rated] FROM [dbo].[vRates] WHERE [Rated] > 2
GO
CREATE VIEW [dbo].[vRatings] AS SELECT [OrderId], [Rating] FROM [dbo].[Orders]
GO
CREATE TABLE [dbo].[Zones] ([ZoneId] int NOT NULL CONSTRAINT [PK_Zones] PRIMARY KEY, [HubId] int NULL)
GO
CREATE TABLE [dbo].[Hubs] ([HubId] int NOT NULL CONSTRAINT [PK_Hubs] PRIMARY KEY, [ZoneId] int NULL
    CONSTRAINT [FK_Hubs_Zones] REFERENCES [dbo].[Zones] ([ZoneId]))
GO
ALTER TABLE [dbo].[Zones] ADD CONSTRAINT [FK_Zones_Hubs] FOREIGN KEY ([HubId]) REFERENCES [dbo].[Hubs] ([HubId])
GO
INSERT INTO [dbo].[Orders] ([OrderId], [Rating]) VALUES (1, 5), (2, NULL)
GO
INSERT INTO [dbo].[Orders] ([OrderId], [Rate], [Rating]) VALUES (3, 7, 1)
GO
