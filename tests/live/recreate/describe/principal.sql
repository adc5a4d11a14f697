-- Users with their default schema and login, roles and application roles with their owner.
SELECT QUOTENAME(name) AS [object], type AS [type], default_schema_name AS [default_schema],
       SUSER_SNAME(sid) AS [login], USER_NAME(owning_principal_id) AS [owner]
FROM sys.database_principals
