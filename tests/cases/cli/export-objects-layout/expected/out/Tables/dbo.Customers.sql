SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Customers', 'CREATE TABLE [dbo].[Customers] ( 	[Id] [int] IDENTITY(1, 1) NOT NULL,	[Name] [nvarchar](100) NOT NULL,	[Phone] [Phone] NULL,	[Email] [varchar](255) NULL,	[CreatedAt] [datetime] NOT NULL )')

SET NOCOUNT OFF
GO
