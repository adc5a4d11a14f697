sqlscripts: строки dbo.b: [FreeTDS][SQL Server]Invalid object name 'dbo.b'.
