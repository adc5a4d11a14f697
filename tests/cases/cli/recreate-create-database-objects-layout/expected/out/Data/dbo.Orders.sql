SET IDENTITY_INSERT [dbo].[Orders] ON;
GO
INSERT INTO [dbo].[Orders] ([OrderID], [CustomerID], [Placed]) VALUES
(1, 1, '2024-01-02'),
(2, 2, NULL);
GO
SET IDENTITY_INSERT [dbo].[Orders] OFF;
GO
