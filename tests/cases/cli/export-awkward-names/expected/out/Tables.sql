SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('my schema', 'it's [a].b c', 'CREATE TABLE [my schema].[it's [a].b c] ( 	[it's] [int] NULL )')

SET NOCOUNT OFF
GO
