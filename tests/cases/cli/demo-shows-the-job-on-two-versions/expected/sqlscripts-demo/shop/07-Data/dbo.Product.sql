INSERT INTO [dbo].[Product] ([ProductId], [Name], [Price]) VALUES
(1, 'Tea, 100 g', 4.50),
(2, 'Cup', 7.25);
GO
