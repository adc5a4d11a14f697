SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Customers', 'CREATE TABLE [dbo].[Customers] ( 	[Id] [int] IDENTITY(1, 1) NOT NULL,	[Name] [nvarchar](100) NOT NULL,	[Phone] [Phone] NULL,	[Email] [varchar](255) NULL,	[CreatedAt] [datetime] NOT NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Orders', 'CREATE TABLE [dbo].[Orders] ( 	[Id] [int] IDENTITY(1000, 1) NOT NULL,	[CustomerId] [int] NOT NULL,	[Quantity] [Quantity] NOT NULL,	[Price] [decimal](18, 2) NOT NULL,	[Total] AS ([Quantity]*[Price]) PERSISTED NOT NULL,	[Note] [nvarchar](max) NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('sales', 'Regions', 'CREATE TABLE [sales].[Regions] ( 	[Code] [char](2) NOT NULL,	[Name] [nvarchar](50) NOT NULL,	[Label] AS (N''Region ''+[Code])   )')

SET NOCOUNT OFF
GO
