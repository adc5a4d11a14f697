-- Check constraints: expression, column (none for a table-level check) and state. A table type's constraints
-- cannot be named, so theirs go by kind.
SELECT QUOTENAME(COALESCE(SCHEMA_NAME(tt.schema_id), OBJECT_SCHEMA_NAME(k.parent_object_id))) + N'.'
           + QUOTENAME(COALESCE(tt.name, OBJECT_NAME(k.parent_object_id))) + N'.'
           + CASE WHEN tt.name IS NULL THEN QUOTENAME(k.name) ELSE N'(check)' END AS [object],
       QUOTENAME(COL_NAME(k.parent_object_id, k.parent_column_id)) AS [column], k.definition, k.is_disabled,
       k.is_not_trusted, k.is_not_for_replication
FROM sys.check_constraints AS k
LEFT JOIN sys.table_types AS tt ON tt.type_table_object_id = k.parent_object_id
