CREATE TABLE [dbo].[Categories] (
    [CategoryID] [int] IDENTITY(1, 1) NOT NULL,
    [CategoryName] [nvarchar](15) NOT NULL,
    [Description] [ntext] NULL,
    [Picture] [image] NULL,
    CONSTRAINT [pk_categories] PRIMARY KEY CLUSTERED ([CategoryID] ASC)
);
GO
CREATE TABLE [dbo].[CustomerCustomerDemo] (
    [CustomerID] [nchar](5) NOT NULL,
    [CustomerTypeID] [nchar](10) NOT NULL,
    CONSTRAINT [pk_customercustomerdemo] PRIMARY KEY CLUSTERED ([CustomerID] ASC, [CustomerTypeID] ASC)
);
GO
CREATE TABLE [dbo].[CustomerDemographics] (
    [CustomerTypeID] [nchar](10) NOT NULL,
    [CustomerDesc] [ntext] NULL,
    CONSTRAINT [pk_customerdemographics] PRIMARY KEY CLUSTERED ([CustomerTypeID] ASC)
);
GO
CREATE TABLE [dbo].[Customers] (
    [CustomerID] [nchar](5) NOT NULL,
    [CompanyName] [nvarchar](40) NOT NULL,
    [ContactName] [nvarchar](30) NULL,
    [ContactTitle] [nvarchar](30) NULL,
    [Address] [nvarchar](60) NULL,
    [City] [nvarchar](15) NULL,
    [Region] [nvarchar](15) NULL,
    [PostalCode] [nvarchar](10) NULL,
    [Country] [nvarchar](15) NULL,
    [Phone] [nvarchar](24) NULL,
    [Fax] [nvarchar](24) NULL,
    CONSTRAINT [pk_customers] PRIMARY KEY CLUSTERED ([CustomerID] ASC)
);
GO
CREATE TABLE [dbo].[Employees] (
    [EmployeeID] [int] IDENTITY(1, 1) NOT NULL,
    [LastName] [nvarchar](20) NOT NULL,
    [FirstName] [nvarchar](10) NOT NULL,
    [Title] [nvarchar](30) NULL,
    [TitleOfCourtesy] [nvarchar](25) NULL,
    [BirthDate] [datetime] NULL,
    [HireDate] [datetime] NULL,
    [Address] [nvarchar](60) NULL,
    [City] [nvarchar](15) NULL,
    [Region] [nvarchar](15) NULL,
    [PostalCode] [nvarchar](10) NULL,
    [Country] [nvarchar](15) NULL,
    [HomePhone] [nvarchar](24) NULL,
    [Extension] [nvarchar](4) NULL,
    [Photo] [image] NULL,
    [Notes] [ntext] NULL,
    [ReportsTo] [int] NULL,
    [PhotoPath] [nvarchar](255) NULL,
    CONSTRAINT [pk_employees] PRIMARY KEY CLUSTERED ([EmployeeID] ASC)
);
GO
CREATE TABLE [dbo].[EmployeeTerritories] (
    [EmployeeID] [int] NOT NULL,
    [TerritoryID] [nvarchar](20) NOT NULL,
    CONSTRAINT [pk_employeeterritories] PRIMARY KEY CLUSTERED ([EmployeeID] ASC, [TerritoryID] ASC)
);
GO
CREATE TABLE [dbo].[Order Details] (
    [OrderID] [int] NOT NULL,
    [ProductID] [int] NOT NULL,
    [UnitPrice] [money] NOT NULL CONSTRAINT [DF_Order Details_19789] DEFAULT 0,
    [Quantity] [smallint] NOT NULL CONSTRAINT [DF_Order Details_19790] DEFAULT 1,
    [Discount] [real] NOT NULL CONSTRAINT [DF_Order Details_19791] DEFAULT 0,
    CONSTRAINT [pk_order_details] PRIMARY KEY CLUSTERED ([OrderID] ASC, [ProductID] ASC)
);
GO
CREATE TABLE [dbo].[Orders] (
    [OrderID] [int] IDENTITY(1, 1) NOT NULL,
    [CustomerID] [nchar](5) NULL,
    [EmployeeID] [int] NULL,
    [OrderDate] [datetime] NULL,
    [RequiredDate] [datetime] NULL,
    [ShippedDate] [datetime] NULL,
    [ShipVia] [int] NULL,
    [Freight] [money] NULL CONSTRAINT [DF_Orders_19726] DEFAULT 0,
    [ShipName] [nvarchar](40) NULL,
    [ShipAddress] [nvarchar](60) NULL,
    [ShipCity] [nvarchar](15) NULL,
    [ShipRegion] [nvarchar](15) NULL,
    [ShipPostalCode] [nvarchar](10) NULL,
    [ShipCountry] [nvarchar](15) NULL,
    CONSTRAINT [pk_orders] PRIMARY KEY CLUSTERED ([OrderID] ASC)
);
GO
CREATE TABLE [dbo].[Products] (
    [ProductID] [int] IDENTITY(1, 1) NOT NULL,
    [ProductName] [nvarchar](40) NOT NULL,
    [SupplierID] [int] NULL,
    [CategoryID] [int] NULL,
    [QuantityPerUnit] [nvarchar](20) NULL,
    [UnitPrice] [money] NULL CONSTRAINT [DF_Products_19758] DEFAULT 0,
    [UnitsInStock] [smallint] NULL CONSTRAINT [DF_Products_19759] DEFAULT 0,
    [UnitsOnOrder] [smallint] NULL CONSTRAINT [DF_Products_19760] DEFAULT 0,
    [ReorderLevel] [smallint] NULL CONSTRAINT [DF_Products_19761] DEFAULT 0,
    [Discontinued] [bit] NOT NULL CONSTRAINT [DF_Products_19762] DEFAULT 0,
    CONSTRAINT [pk_products] PRIMARY KEY CLUSTERED ([ProductID] ASC)
);
GO
CREATE TABLE [dbo].[Region] (
    [RegionID] [int] NOT NULL,
    [RegionDescription] [nchar](50) NOT NULL,
    CONSTRAINT [pk_region] PRIMARY KEY CLUSTERED ([RegionID] ASC)
);
GO
CREATE TABLE [dbo].[Shippers] (
    [ShipperID] [int] IDENTITY(1, 1) NOT NULL,
    [CompanyName] [nvarchar](40) NOT NULL,
    [Phone] [nvarchar](24) NULL,
    CONSTRAINT [pk_shippers] PRIMARY KEY CLUSTERED ([ShipperID] ASC)
);
GO
CREATE TABLE [dbo].[Suppliers] (
    [SupplierID] [int] IDENTITY(1, 1) NOT NULL,
    [CompanyName] [nvarchar](40) NOT NULL,
    [ContactName] [nvarchar](30) NULL,
    [ContactTitle] [nvarchar](30) NULL,
    [Address] [nvarchar](60) NULL,
    [City] [nvarchar](15) NULL,
    [Region] [nvarchar](15) NULL,
    [PostalCode] [nvarchar](10) NULL,
    [Country] [nvarchar](15) NULL,
    [Phone] [nvarchar](24) NULL,
    [Fax] [nvarchar](24) NULL,
    [HomePage] [ntext] NULL,
    CONSTRAINT [pk_suppliers] PRIMARY KEY CLUSTERED ([SupplierID] ASC)
);
GO
CREATE TABLE [dbo].[Territories] (
    [TerritoryID] [nvarchar](20) NOT NULL,
    [TerritoryDescription] [nchar](50) NOT NULL,
    [RegionID] [int] NOT NULL,
    CONSTRAINT [pk_territories] PRIMARY KEY CLUSTERED ([TerritoryID] ASC)
);
GO
