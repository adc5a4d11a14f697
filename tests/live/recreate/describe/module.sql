-- Views, procedures, functions and triggers: their text whole and the options they were created with.
SELECT QUOTENAME(OBJECT_SCHEMA_NAME(m.object_id)) + N'.' + QUOTENAME(OBJECT_NAME(m.object_id)) AS [object],
       m.definition, m.uses_ansi_nulls, m.uses_quoted_identifier, m.is_schema_bound, m.null_on_null_input,
       CASE WHEN m.execute_as_principal_id = -2 THEN N'OWNER' ELSE QUOTENAME(p.name) END AS [execute_as],
       v.with_check_option
FROM sys.sql_modules AS m
JOIN sys.objects AS o ON o.object_id = m.object_id
LEFT JOIN sys.database_principals AS p ON p.principal_id = m.execute_as_principal_id
LEFT JOIN sys.views AS v ON v.object_id = m.object_id
WHERE o.is_ms_shipped = 0
