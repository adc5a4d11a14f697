CREATE   INDEX [cx_orders_orderdate] ON [dbo].[Orders]([OrderDate]) ON [PRIMARY]
GO 

CREATE   INDEX [ix_customer_name] ON [dbo].[Customer]([Name]) ON [PRIMARY]
GO 

CREATE   INDEX [ix_orders_customer_date] ON [dbo].[Orders]([CustomerId], [OrderDate], [Quantity], [UnitPrice]) ON [PRIMARY]
GO 

CREATE   INDEX [ix_region_name] ON [sales].[Region]([RegionName]) ON [PRIMARY]
GO 

CREATE UNIQUE  INDEX [uq_customer_email] ON [dbo].[Customer]([Email]) ON [PRIMARY]
GO 

CREATE UNIQUE  INDEX [uq_region_name] ON [sales].[Region]([RegionName]) ON [PRIMARY]
GO 

CREATE UNIQUE  INDEX [ux_customer_code] ON [dbo].[Customer]([Name], [Code], [Email]) ON [PRIMARY]
GO 

