ALTER TABLE [dbo].[Customer] ADD CONSTRAINT [ck_customer_balance] CHECK ((balance >= 0));
GO
ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [ck_orders_quantity] CHECK ((quantity > 0));
GO
ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [ck_orders_status] CHECK ((status IN ('N', 'P', 'S', 'C')));
GO
