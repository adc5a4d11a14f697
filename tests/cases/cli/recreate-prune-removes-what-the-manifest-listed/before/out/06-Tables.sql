CREATE TABLE [dbo].[Customers] (
    [CustomerID] [int] NOT NULL,
    [Name] [nvarchar](40) NOT NULL,
    CONSTRAINT [pk_customers] PRIMARY KEY CLUSTERED ([CustomerID] ASC)
);
GO
CREATE TABLE [dbo].[Orders] (
    [OrderID] [int] IDENTITY(1, 1) NOT NULL,
    [CustomerID] [int] NOT NULL,
    [Placed] [date] NULL,
    CONSTRAINT [pk_orders] PRIMARY KEY CLUSTERED ([OrderID] ASC)
);
GO
CREATE TABLE [sales].[Regions] (
    [Code] [char](2) NOT NULL,
    [Name] [nvarchar](40) NULL,
    CONSTRAINT [pk_regions] PRIMARY KEY CLUSTERED ([Code] ASC)
);
GO
