INSERT INTO [sales].[OrderLine] ([OrderId], [LineNumber], [ProductId], [Quantity]) VALUES
(1, 1, 1, 2),
(1, 2, 2, 1),
(2, 1, 1, 1);
GO
