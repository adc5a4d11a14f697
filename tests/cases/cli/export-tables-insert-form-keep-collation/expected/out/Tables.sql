SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Calc', 'CREATE TABLE [dbo].[Calc] ( 	[Price] [decimal](10, 2) NOT NULL,	[Qty] [int] NULL,	[Total] AS ([Price]*[Qty]) PERSISTED NOT NULL,	[Label] AS (''Qty: ''+CONVERT([varchar](10),[Qty]))  ,	[Size] AS (case when [Qty]>(9) then ''big''else ''small'' end) PERSISTED NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('sales', 'Phones', 'CREATE TABLE [sales].[Phones] ( 	[Id] [int] IDENTITY(100, 5) NOT NULL,	[Phone] [PhoneNumber] COLLATE Latin1_General_CI_AS  NULL,	[Code] [Code] NOT NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'T', 'CREATE TABLE [dbo].[T] ( 	[Id] [int] IDENTITY(1, 1) NOT NULL,	[Name] [nvarchar](50) COLLATE Cyrillic_General_CI_AS  NULL )')

SET NOCOUNT OFF
GO
