
CREATE TABLE [dbo].[Orders] (
 	[Id] [int] IDENTITY(1, 1) NOT NULL,
	[Code] [varchar](20) NULL,
	[Phone] [Phone] NOT NULL )
GO 