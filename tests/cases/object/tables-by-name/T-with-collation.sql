
CREATE TABLE [dbo].[T] (
 	[Id] [int] IDENTITY(1, 1) NOT NULL,
	[Name] [nvarchar](50) COLLATE Cyrillic_General_CI_AS  NULL )
GO 