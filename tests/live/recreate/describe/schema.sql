-- Schemas and their owners.
SELECT QUOTENAME(s.name) AS [object], QUOTENAME(p.name) AS [owner]
FROM sys.schemas AS s
LEFT JOIN sys.database_principals AS p ON p.principal_id = s.principal_id
