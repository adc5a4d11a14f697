INSERT INTO [dbo].[Planted] ([Id], [Name]) VALUES (1, N'one'), (2, N'two');
GO

-- planted: the column does not exist
INSERT INTO [dbo].[Planted] ([Id], [Missing]) VALUES (3, N'three');
GO
INSERT INTO [dbo].[Planted] ([Id], [Name]) VALUES (4, N'four');
GO
