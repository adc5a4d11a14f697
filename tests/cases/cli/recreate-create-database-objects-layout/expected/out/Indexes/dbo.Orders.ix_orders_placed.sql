CREATE NONCLUSTERED INDEX [ix_orders_placed] ON [dbo].[Orders] ([Placed] ASC);
GO
