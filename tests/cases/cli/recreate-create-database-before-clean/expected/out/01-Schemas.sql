CREATE USER [app_user] FOR LOGIN [app_login] WITH DEFAULT_SCHEMA = [sales];
GO
CREATE USER [CONTOSO\Sales] FOR LOGIN [CONTOSO\Sales];
GO
CREATE USER [ext_user] FROM EXTERNAL PROVIDER WITH DEFAULT_SCHEMA = [dbo];
GO
CREATE USER [report_user] WITHOUT LOGIN WITH DEFAULT_SCHEMA = [dbo];
GO
DECLARE @password nvarchar(64) = CONVERT(nvarchar(36), NEWID()) + N'aA1!';
EXEC (N'CREATE APPLICATION ROLE [ledger''s app] WITH PASSWORD = N''' + @password + N''', DEFAULT_SCHEMA = [sales]');
GO
CREATE ROLE [readers];
GO
CREATE ROLE [odd]] role's] AUTHORIZATION [readers];
GO
CREATE ROLE [writers] AUTHORIZATION [app_user];
GO
CREATE SCHEMA [odd]] name] AUTHORIZATION [dbo];
GO
CREATE SCHEMA [sales] AUTHORIZATION [app_user];
GO
