CREATE TYPE [dbo].[Phone] FROM [varchar](24) NOT NULL;
GO
