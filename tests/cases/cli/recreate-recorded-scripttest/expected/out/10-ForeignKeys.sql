ALTER TABLE [dbo].[Customer] ADD CONSTRAINT [fk_customer_region] FOREIGN KEY ([RegionId]) REFERENCES [sales].[Region] ([RegionId]);
GO
ALTER TABLE [dbo].[OrderLine] ADD CONSTRAINT [fk_orderline_orders] FOREIGN KEY ([OrderId]) REFERENCES [dbo].[Orders] ([OrderId]) ON DELETE CASCADE;
GO
ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [fk_orders_customer] FOREIGN KEY ([CustomerId]) REFERENCES [dbo].[Customer] ([CustomerId]) ON DELETE CASCADE;
GO
