SET IDENTITY_INSERT [dbo].[identities] ON;
GO
INSERT INTO [dbo].[identities] ([id], [name]) VALUES
(100, 'a'),
(120, 'c'),
(130, 'd');
GO
SET IDENTITY_INSERT [dbo].[identities] OFF;
GO
DBCC CHECKIDENT ('[dbo].[identities]', RESEED, 150);
GO
