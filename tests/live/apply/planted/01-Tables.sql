CREATE TABLE [dbo].[Planted] ([Id] int NOT NULL PRIMARY KEY, [Name] nvarchar(20) NOT NULL);
GO
