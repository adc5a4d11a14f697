
CREATE TABLE [dbo].[Orders] (
 	[Id] [int] IDENTITY(1, 1) NOT NULL,
	[Code] [varchar](20) COLLATE Cyrillic_General_CI_AS  NULL,
	[Phone] [Phone] COLLATE Cyrillic_General_CI_AS  NOT NULL )
GO 