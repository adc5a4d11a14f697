
CREATE TABLE [dbo].[2019Sales] (
 	[Id] [int] NOT NULL )
GO 