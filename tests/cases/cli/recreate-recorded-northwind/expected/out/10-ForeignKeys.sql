ALTER TABLE [dbo].[CustomerCustomerDemo] ADD CONSTRAINT [fk_customercustomerdemo] FOREIGN KEY ([CustomerTypeID]) REFERENCES [dbo].[CustomerDemographics] ([CustomerTypeID]);
GO
ALTER TABLE [dbo].[CustomerCustomerDemo] ADD CONSTRAINT [fk_customercustomerdemo_customers] FOREIGN KEY ([CustomerID]) REFERENCES [dbo].[Customers] ([CustomerID]);
GO
ALTER TABLE [dbo].[Employees] ADD CONSTRAINT [fk_employees_employees] FOREIGN KEY ([ReportsTo]) REFERENCES [dbo].[Employees] ([EmployeeID]);
GO
ALTER TABLE [dbo].[EmployeeTerritories] ADD CONSTRAINT [fk_employeeterritories_employees] FOREIGN KEY ([EmployeeID]) REFERENCES [dbo].[Employees] ([EmployeeID]);
GO
ALTER TABLE [dbo].[EmployeeTerritories] ADD CONSTRAINT [fk_employeeterritories_territories] FOREIGN KEY ([TerritoryID]) REFERENCES [dbo].[Territories] ([TerritoryID]);
GO
ALTER TABLE [dbo].[Order Details] ADD CONSTRAINT [fk_order_details_orders] FOREIGN KEY ([OrderID]) REFERENCES [dbo].[Orders] ([OrderID]);
GO
ALTER TABLE [dbo].[Order Details] ADD CONSTRAINT [fk_order_details_products] FOREIGN KEY ([ProductID]) REFERENCES [dbo].[Products] ([ProductID]);
GO
ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [fk_orders_customers] FOREIGN KEY ([CustomerID]) REFERENCES [dbo].[Customers] ([CustomerID]);
GO
ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [fk_orders_employees] FOREIGN KEY ([EmployeeID]) REFERENCES [dbo].[Employees] ([EmployeeID]);
GO
ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [fk_orders_shippers] FOREIGN KEY ([ShipVia]) REFERENCES [dbo].[Shippers] ([ShipperID]);
GO
ALTER TABLE [dbo].[Products] ADD CONSTRAINT [fk_products_categories] FOREIGN KEY ([CategoryID]) REFERENCES [dbo].[Categories] ([CategoryID]);
GO
ALTER TABLE [dbo].[Products] ADD CONSTRAINT [fk_products_suppliers] FOREIGN KEY ([SupplierID]) REFERENCES [dbo].[Suppliers] ([SupplierID]);
GO
ALTER TABLE [dbo].[Territories] ADD CONSTRAINT [fk_territories_region] FOREIGN KEY ([RegionID]) REFERENCES [dbo].[Region] ([RegionID]);
GO
