CREATE TABLE [dbo].[Customer] (
    [CustomerId] [int] IDENTITY(1, 1) NOT FOR REPLICATION NOT NULL,
    [Name] [nvarchar](50) COLLATE Latin1_General_CS_AS NOT NULL,
    [Phone] [dbo].[Phone] NOT NULL,
    [Guid] [uniqueidentifier] ROWGUIDCOL NOT NULL,
    [Notes] [nvarchar](max) SPARSE NULL,
    [Props] [xml] COLUMN_SET FOR ALL_SPARSE_COLUMNS,
    [Stamp] [timestamp] NOT NULL,
    [CreatedAt] [datetime2](3) NOT NULL CONSTRAINT [DF_Customer_CreatedAt] DEFAULT (sysdatetime()),
    [Select] [varchar](10) NULL,
    CONSTRAINT [PK_Customer] PRIMARY KEY CLUSTERED ([CustomerId] ASC) WITH (PAD_INDEX = ON, FILLFACTOR = 90, ALLOW_PAGE_LOCKS = OFF),
    CONSTRAINT [UQ_Customer_Name] UNIQUE NONCLUSTERED ([Name] ASC) WITH (IGNORE_DUP_KEY = ON, DATA_COMPRESSION = ROW) ON [FG_ARCHIVE]
);
GO
CREATE TABLE [dbo].[History] (
    [Year] [int] NOT NULL,
    [Note] [nvarchar](100) NULL
) ON [PS_Year]([Year]);
GO
CREATE TABLE [dbo].[Node] (
    [NodeId] [int] NOT NULL,
    [ParentId] [int] NULL,
    [Code] [varchar](20) NOT NULL,
    [CustomerGuid] [uniqueidentifier] NULL,
    CONSTRAINT [PK_Node] PRIMARY KEY CLUSTERED ([NodeId] ASC)
);
GO
CREATE TABLE [dbo].[Token] (
    [TokenId] [int] NOT NULL,
    [Code] [int] NULL
);
GO
CREATE TABLE [sales].[Orders] (
    [OrderId] [bigint] NOT NULL CONSTRAINT [DF_Orders_OrderId] DEFAULT (NEXT VALUE FOR [dbo].[OrderNo]),
    [CustomerId] [int] NOT NULL,
    [Amount] [decimal](19, 4) NULL,
    [Tax] AS ([dbo].[fnTax]([Amount])) PERSISTED NOT NULL,
    [At] [time](7) NULL,
    [Zone] [datetimeoffset](2) NULL,
    [Status] [char](1) NOT NULL CONSTRAINT [DF_Orders_Status] DEFAULT ('N'),
    CONSTRAINT [PK_Orders] PRIMARY KEY CLUSTERED ([OrderId] DESC)
);
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE FUNCTION dbo.fnIsValid (@id int) RETURNS bit
AS
BEGIN
    RETURN CASE WHEN EXISTS (SELECT 1 FROM sales.Orders WHERE CustomerId = @id) THEN 1 ELSE 0 END
END
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE FUNCTION dbo.fnNextToken () RETURNS int
AS
BEGIN
    RETURN (SELECT ISNULL(MAX(Code), 0) + 1 FROM dbo.Token)
END
GO
