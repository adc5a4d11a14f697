CREATE NONCLUSTERED INDEX [ix_orders_customer] ON [sales].[Orders] ([CustomerId] ASC);
GO
