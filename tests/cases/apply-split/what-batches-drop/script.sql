IF DATABASE_PRINCIPAL_ID(N'writers') IS NOT NULL DROP ROLE [writers];
GO
DROP TABLE IF EXISTS [sales].[Orders], dbo.Lines;
drop proc Plain
GO
IF OBJECT_ID(N'[dbo].[T]', N'U') IS NOT NULL DROP INDEX IF EXISTS [ix] ON [dbo].[T];
ALTER ROLE [readers] DROP MEMBER [app_user];
ALTER TABLE [dbo].[T] DROP CONSTRAINT IF EXISTS [ck];
GO
CREATE PROCEDURE dbo.usp_Clear AS
    DROP TABLE dbo.Made
GO
DROP APPLICATION ROLE [ledger's app];
-- DROP VIEW dbo.Commented
PRINT 'DROP VIEW dbo.Quoted';
GO
CREATE USER [app_user] FOR LOGIN [app_login];
CREATE ROLE [readers] AUTHORIZATION [dbo];
CREATE APPLICATION ROLE [ledger] WITH PASSWORD = N'x';
GO
IF EXISTS (SELECT 1 FROM sys.fulltext_catalogs WHERE name = N'Docs') DROP FULLTEXT CATALOG [Docs];
GO
