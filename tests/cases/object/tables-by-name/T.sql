
CREATE TABLE [dbo].[T] (
 	[Id] [int] IDENTITY(1, 1) NOT NULL,
	[Name] [nvarchar](50) NULL )
GO 