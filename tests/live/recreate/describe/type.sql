-- Alias types and table types.
SELECT QUOTENAME(SCHEMA_NAME(t.schema_id)) + N'.' + QUOTENAME(t.name) AS [object],
       CASE WHEN t.is_table_type = 1 THEN N'TABLE' ELSE QUOTENAME(b.name) END AS [base],
       t.max_length, t.precision, t.scale, t.collation_name AS [collation], t.is_nullable
FROM sys.types AS t
LEFT JOIN sys.types AS b ON b.user_type_id = t.system_type_id
WHERE t.is_user_defined = 1
