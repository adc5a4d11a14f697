DECLARE @password nvarchar(64) = CONVERT(nvarchar(36), NEWID()) + N'aA1!';
EXEC (N'CREATE APPLICATION ROLE [ledger''s app] WITH PASSWORD = N''' + @password + N''', DEFAULT_SCHEMA = [sales]');
GO
