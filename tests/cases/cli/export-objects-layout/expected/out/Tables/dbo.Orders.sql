SET NOCOUNT ON
GO

INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Orders', 'CREATE TABLE [dbo].[Orders] ( 	[Id] [int] IDENTITY(1000, 1) NOT NULL,	[CustomerId] [int] NOT NULL,	[Quantity] [Quantity] NOT NULL,	[Price] [decimal](18, 2) NOT NULL,	[Total] AS ([Quantity]*[Price]) PERSISTED NOT NULL,	[Note] [nvarchar](max) NULL )')

SET NOCOUNT OFF
GO
