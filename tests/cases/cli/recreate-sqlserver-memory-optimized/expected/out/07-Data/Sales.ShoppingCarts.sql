INSERT INTO [Sales].[ShoppingCarts] ([CartID], [CustomerID], [Created]) VALUES
(7, 832, '2024-02-29T12:00:00.0000000');
GO
