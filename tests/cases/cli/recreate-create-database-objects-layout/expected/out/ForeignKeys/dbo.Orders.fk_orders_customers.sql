ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [fk_orders_customers] FOREIGN KEY ([CustomerID]) REFERENCES [dbo].[Customers] ([CustomerID]);
GO
