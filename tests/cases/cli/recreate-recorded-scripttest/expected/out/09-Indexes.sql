CREATE NONCLUSTERED INDEX [ix_customer_name] ON [dbo].[Customer] ([Name] ASC);
GO
CREATE UNIQUE NONCLUSTERED INDEX [ux_customer_code] ON [dbo].[Customer] ([Code] ASC) INCLUDE ([Name], [Email]);
GO
CREATE NONCLUSTERED INDEX [cx_orders_orderdate] ON [dbo].[Orders] ([OrderDate] ASC);
GO
CREATE NONCLUSTERED INDEX [ix_orders_customer_date] ON [dbo].[Orders] ([CustomerId] ASC, [OrderDate] DESC) INCLUDE ([Quantity], [UnitPrice]);
GO
CREATE NONCLUSTERED INDEX [ix_region_name] ON [sales].[Region] ([RegionName] ASC);
GO
