SET IDENTITY_INSERT [dbo].[only_identity] ON;
GO
INSERT INTO [dbo].[only_identity] ([id]) VALUES
(-2),
(-1);
GO
SET IDENTITY_INSERT [dbo].[only_identity] OFF;
GO
