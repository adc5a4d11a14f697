SET IDENTITY_INSERT [dbo].[Customer] ON;
GO
INSERT INTO [dbo].[Customer] ([CustomerId], [Name], [Email], [Fax]) VALUES
(1, 'Anna Berg', 'anna@example.com', NULL),
(2, N'Jörg Müller', NULL, NULL);
GO
SET IDENTITY_INSERT [dbo].[Customer] OFF;
GO
