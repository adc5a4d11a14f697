ALTER TABLE [sales].[OrderLine] ADD CONSTRAINT [fk_orderline_orders] FOREIGN KEY ([OrderId]) REFERENCES [sales].[Orders] ([OrderId]);
GO
ALTER TABLE [sales].[OrderLine] ADD CONSTRAINT [fk_orderline_product] FOREIGN KEY ([ProductId]) REFERENCES [dbo].[Product] ([ProductId]);
GO
ALTER TABLE [sales].[Orders] ADD CONSTRAINT [fk_orders_customer] FOREIGN KEY ([CustomerId]) REFERENCES [dbo].[Customer] ([CustomerId]);
GO
