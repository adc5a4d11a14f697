CREATE NONCLUSTERED INDEX [categoryname] ON [dbo].[Categories] ([CategoryName] ASC);
GO
CREATE NONCLUSTERED INDEX [city] ON [dbo].[Customers] ([City] ASC);
GO
CREATE NONCLUSTERED INDEX [companyname] ON [dbo].[Customers] ([CompanyName] ASC);
GO
CREATE NONCLUSTERED INDEX [postalcode] ON [dbo].[Customers] ([PostalCode] ASC);
GO
CREATE NONCLUSTERED INDEX [region] ON [dbo].[Customers] ([Region] ASC);
GO
CREATE NONCLUSTERED INDEX [lastname] ON [dbo].[Employees] ([LastName] ASC);
GO
CREATE NONCLUSTERED INDEX [postalcode] ON [dbo].[Employees] ([PostalCode] ASC);
GO
CREATE NONCLUSTERED INDEX [orderid] ON [dbo].[Order Details] ([OrderID] ASC);
GO
CREATE NONCLUSTERED INDEX [ordersorder_details] ON [dbo].[Order Details] ([OrderID] ASC);
GO
CREATE NONCLUSTERED INDEX [productid] ON [dbo].[Order Details] ([ProductID] ASC);
GO
CREATE NONCLUSTERED INDEX [productsorder_details] ON [dbo].[Order Details] ([ProductID] ASC);
GO
CREATE NONCLUSTERED INDEX [customerid] ON [dbo].[Orders] ([CustomerID] ASC);
GO
CREATE NONCLUSTERED INDEX [customersorders] ON [dbo].[Orders] ([CustomerID] ASC);
GO
CREATE NONCLUSTERED INDEX [employeeid] ON [dbo].[Orders] ([EmployeeID] ASC);
GO
CREATE NONCLUSTERED INDEX [employeesorders] ON [dbo].[Orders] ([EmployeeID] ASC);
GO
CREATE NONCLUSTERED INDEX [orderdate] ON [dbo].[Orders] ([OrderDate] ASC);
GO
CREATE NONCLUSTERED INDEX [shippeddate] ON [dbo].[Orders] ([ShippedDate] ASC);
GO
CREATE NONCLUSTERED INDEX [shippersorders] ON [dbo].[Orders] ([ShipVia] ASC);
GO
CREATE NONCLUSTERED INDEX [shippostalcode] ON [dbo].[Orders] ([ShipPostalCode] ASC);
GO
CREATE NONCLUSTERED INDEX [categoriesproducts] ON [dbo].[Products] ([CategoryID] ASC);
GO
CREATE NONCLUSTERED INDEX [categoryid] ON [dbo].[Products] ([CategoryID] ASC);
GO
CREATE NONCLUSTERED INDEX [productname] ON [dbo].[Products] ([ProductName] ASC);
GO
CREATE NONCLUSTERED INDEX [supplierid] ON [dbo].[Products] ([SupplierID] ASC);
GO
CREATE NONCLUSTERED INDEX [suppliersproducts] ON [dbo].[Products] ([SupplierID] ASC);
GO
CREATE NONCLUSTERED INDEX [companyname] ON [dbo].[Suppliers] ([CompanyName] ASC);
GO
CREATE NONCLUSTERED INDEX [postalcode] ON [dbo].[Suppliers] ([PostalCode] ASC);
GO
