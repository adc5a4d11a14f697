SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Totals', 'CREATE TABLE [dbo].[Totals] ( 	[Id] [int] IDENTITY(1, 1) NOT NULL,	[Name] [nvarchar](50) COLLATE SQL_Latin1_General_CP1_CI_AS  NULL )')

SET NOCOUNT OFF
GO
