SET IDENTITY_INSERT [sales].[Orders] ON;
GO
INSERT INTO [sales].[Orders] ([OrderId], [CustomerId], [OrderedOn]) VALUES
(1, 1, '2024-03-01'),
(2, 2, '2024-03-02');
GO
SET IDENTITY_INSERT [sales].[Orders] OFF;
GO
