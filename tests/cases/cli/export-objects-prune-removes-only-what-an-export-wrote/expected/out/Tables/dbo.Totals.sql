INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Totals', 'CREATE TABLE [dbo].[Totals] ( 	[Id] [int] IDENTITY(1, 1) NOT NULL,	[Name] [nvarchar](50) NULL )')
