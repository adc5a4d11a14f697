SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Commandes_Größe', 'CREATE TABLE [dbo].[Commandes_Größe] ( 	[Numéro] [int] IDENTITY(2147483647, -1) NOT NULL,	[Client] [nvarchar](40) NULL,	[Prix_€] [money] NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Counters', 'CREATE TABLE [dbo].[Counters] ( 	[Small] [smallint] IDENTITY(-100, 5) NOT NULL,	[Note] [nvarchar](100) NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Orders', 'CREATE TABLE [dbo].[Orders] ( 	[Id] [bigint] IDENTITY(-1, -1) NOT NULL,	[Name] [nvarchar](20) NOT NULL,	[OrderNo] [int] NULL )')
INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Wide', 'CREATE TABLE [dbo].[Wide] ( 	[Id] [bigint] IDENTITY(1000000000, 1000) NOT NULL,	[Code] [char](3) NULL )')

SET NOCOUNT OFF
GO
