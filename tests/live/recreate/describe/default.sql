-- Default constraints, by the column they belong to.
SELECT QUOTENAME(COALESCE(SCHEMA_NAME(tt.schema_id), OBJECT_SCHEMA_NAME(d.parent_object_id))) + N'.'
           + QUOTENAME(COALESCE(tt.name, OBJECT_NAME(d.parent_object_id))) + N'.'
           + QUOTENAME(COL_NAME(d.parent_object_id, d.parent_column_id)) AS [object],
       QUOTENAME(d.name) AS [name], d.definition
FROM sys.default_constraints AS d
LEFT JOIN sys.table_types AS tt ON tt.type_table_object_id = d.parent_object_id
