CREATE TABLE [dbo].[AuditLog] (
    [AuditId] [int] IDENTITY(-1, -1) NOT NULL,
    [TableName] [sysname] NOT NULL,
    [Action] [varchar](10) NOT NULL,
    [At] [datetime2](6) NOT NULL CONSTRAINT [DF_AuditLog_20262] DEFAULT sysdatetime(),
    [Flag] [dbo].[flag] NOT NULL,
    CONSTRAINT [auditlog_pkey] PRIMARY KEY CLUSTERED ([AuditId] ASC)
);
GO
CREATE TABLE [dbo].[Customer] (
    [CustomerId] [int] IDENTITY(100, 10) NOT NULL,
    [Name] [dbo].[shortname] NOT NULL,
    [Code] [dbo].[code] NULL,
    [Email] [varchar](255) NULL,
    [Notes] [nvarchar](max) NULL,
    [Blob] [varchar](max) NULL,
    [Balance] [decimal](18, 2) NOT NULL CONSTRAINT [DF_Customer_20211] DEFAULT 0,
    [Limit] [dbo].[amount] NULL,
    [CreatedAt] [datetime2](6) NOT NULL CONSTRAINT [DF_Customer_20212] DEFAULT sysdatetime(),
    [IsActive] [bit] NOT NULL CONSTRAINT [DF_Customer_20213] DEFAULT 1,
    [RegionId] [int] NULL,
    [Rating] [int] NULL,
    CONSTRAINT [pk_customer] PRIMARY KEY CLUSTERED ([CustomerId] ASC),
    CONSTRAINT [uq_customer_email] UNIQUE NONCLUSTERED ([Email] ASC)
);
GO
CREATE TABLE [dbo].[OrderLine] (
    [OrderId] [bigint] NOT NULL,
    [LineNum] [smallint] NOT NULL,
    [Product] [nvarchar](100) NOT NULL,
    [Qty] [decimal](10, 3) NOT NULL CONSTRAINT [DF_OrderLine_20247] DEFAULT 1,
    [Price] [decimal](19, 4) NULL,
    [Amount] AS (qty * price) PERSISTED,
    CONSTRAINT [pk_orderline] PRIMARY KEY CLUSTERED ([OrderId] ASC, [LineNum] ASC)
);
GO
CREATE TABLE [dbo].[Orders] (
    [OrderId] [bigint] IDENTITY(1, 1) NOT NULL,
    [CustomerId] [int] NOT NULL,
    [OrderDate] [datetime] NOT NULL CONSTRAINT [DF_Orders_20230] DEFAULT getdate(),
    [Quantity] [int] NOT NULL,
    [UnitPrice] [money] NOT NULL,
    [Total] AS (quantity * unitprice) PERSISTED,
    [Status] [char](1) NOT NULL CONSTRAINT [DF_Orders_20232] DEFAULT 'N',
    [Comment] [nvarchar](200) NULL,
    CONSTRAINT [pk_orders] PRIMARY KEY CLUSTERED ([OrderId] ASC)
);
GO
CREATE TABLE [sales].[Region] (
    [RegionId] [int] IDENTITY(1, 1) NOT NULL,
    [RegionName] [nvarchar](50) NOT NULL,
    CONSTRAINT [pk_region] PRIMARY KEY CLUSTERED ([RegionId] ASC),
    CONSTRAINT [uq_region_name] UNIQUE NONCLUSTERED ([RegionName] ASC)
);
GO
