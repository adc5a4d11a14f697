SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('sales', 'Regions', 'CREATE TABLE [sales].[Regions] ( 	[Code] [char](2) NOT NULL,	[Name] [nvarchar](50) NOT NULL,	[Label] AS (N''Region ''+[Code])   )')

SET NOCOUNT OFF
GO
