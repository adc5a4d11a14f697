CREATE TABLE [dbo].[Customer] (
    [CustomerId] [int] IDENTITY(1, 1) NOT NULL,
    [Name] [nvarchar](100) NOT NULL,
    [Email] [varchar](200) NULL,
    [Fax] [varchar](20) NULL,
    CONSTRAINT [pk_customer] PRIMARY KEY CLUSTERED ([CustomerId] ASC)
);
GO
CREATE TABLE [dbo].[Product] (
    [ProductId] [int] NOT NULL,
    [Name] [nvarchar](50) NOT NULL,
    [Price] [decimal](10, 2) NOT NULL,
    CONSTRAINT [pk_product] PRIMARY KEY CLUSTERED ([ProductId] ASC)
);
GO
CREATE TABLE [sales].[OrderLine] (
    [OrderId] [int] NOT NULL,
    [LineNumber] [int] NOT NULL,
    [ProductId] [int] NOT NULL,
    [Quantity] [int] NOT NULL,
    CONSTRAINT [pk_orderline] PRIMARY KEY CLUSTERED ([OrderId] ASC, [LineNumber] ASC)
);
GO
CREATE TABLE [sales].[Orders] (
    [OrderId] [int] IDENTITY(1, 1) NOT NULL,
    [CustomerId] [int] NOT NULL,
    [OrderedOn] [date] NOT NULL,
    CONSTRAINT [pk_orders] PRIMARY KEY CLUSTERED ([OrderId] ASC)
);
GO
