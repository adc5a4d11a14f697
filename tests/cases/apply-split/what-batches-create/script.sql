CREATE SCHEMA [sales] AUTHORIZATION [dbo]
GO
CREATE TYPE [dbo].[Name] FROM nvarchar(50) NULL;
CREATE TABLE [sales].[Orders] ([Id] int);
CREATE TABLE #scratch (a int);
GO
CREATE PROCEDURE dbo.usp_Fill AS
BEGIN
    CREATE TABLE dbo.Made (a int)
END
GO
CREATE OR ALTER VIEW [dbo].[v] AS SELECT 1 AS a
GO
SET ANSI_NULLS ON;
GO
create view Plain as select 1 as a
GO
CREATE UNIQUE INDEX [ix] ON [sales].[Orders] ([Id]);
CREATE SEQUENCE [sales].[Numbers] AS int START WITH 1;
GO
CREATE FULLTEXT CATALOG [Docs] WITH ACCENT_SENSITIVITY = OFF AS DEFAULT;
CREATE FULLTEXT INDEX ON [sales].[Orders] ([Note] LANGUAGE 1033) KEY INDEX [ix];
GO
