SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'AuditLog', 'CREATE TABLE [dbo].[AuditLog] ( 	[AuditId] [int] IDENTITY(-1, -1) NOT NULL,	[TableName] [sysname] NOT NULL,	[Action] [varchar](10) NOT NULL,	[At] [datetime2] NOT NULL,	[Flag] [flag] NOT NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Customer', 'CREATE TABLE [dbo].[Customer] ( 	[CustomerId] [int] IDENTITY(100, 10) NOT NULL,	[Name] [shortname] NOT NULL,	[Code] [code] NULL,	[Email] [varchar](255) NULL,	[Notes] [nvarchar](max) NULL,	[Blob] [varchar](max) NULL,	[Balance] [decimal](18, 2) NOT NULL,	[Limit] [amount] NULL,	[CreatedAt] [datetime2] NOT NULL,	[IsActive] [bit] NOT NULL,	[RegionId] [int] NULL,	[Rating] [int] NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'OrderLine', 'CREATE TABLE [dbo].[OrderLine] ( 	[OrderId] [bigint] NOT NULL,	[LineNum] [smallint] NOT NULL,	[Product] [nvarchar](100) NOT NULL,	[Qty] [decimal](10, 3) NOT NULL,	[Price] [decimal](19, 4) NULL,	[Amount] AS (qty * price) PERSISTED NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Orders', 'CREATE TABLE [dbo].[Orders] ( 	[OrderId] [bigint] IDENTITY(1, 1) NOT NULL,	[CustomerId] [int] NOT NULL,	[OrderDate] [datetime] NOT NULL,	[Quantity] [int] NOT NULL,	[UnitPrice] [money] NOT NULL,	[Total] AS (quantity * unitprice) PERSISTED NULL,	[Status] [char](1) NOT NULL,	[Comment] [nvarchar](200) NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('sales', 'Region', 'CREATE TABLE [sales].[Region] ( 	[RegionId] [int] IDENTITY(1, 1) NOT NULL,	[RegionName] [nvarchar](50) NOT NULL )')

SET NOCOUNT OFF
GO
