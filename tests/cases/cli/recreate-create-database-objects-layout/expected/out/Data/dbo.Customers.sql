INSERT INTO [dbo].[Customers] ([CustomerID], [Name]) VALUES
(1, 'Ann'),
(2, 'Bob');
GO
