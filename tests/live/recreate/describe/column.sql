-- Columns of tables, views, table types and table-valued functions: position, type, nullability, collation
-- and storage. Identity and computed columns have queries of their own.
SELECT QUOTENAME(SCHEMA_NAME(COALESCE(tt.schema_id, o.schema_id))) + N'.' + QUOTENAME(COALESCE(tt.name, o.name))
           + N'.' + QUOTENAME(c.name) AS [object],
       ROW_NUMBER() OVER (PARTITION BY c.object_id ORDER BY c.column_id) AS [position],
       CASE WHEN t.is_user_defined = 1 THEN QUOTENAME(SCHEMA_NAME(t.schema_id)) + N'.' ELSE N'' END
           + QUOTENAME(t.name) AS [type],
       c.max_length, c.precision, c.scale, c.collation_name AS [collation], c.is_nullable, c.is_rowguidcol,
       c.is_sparse, c.is_column_set
FROM sys.columns AS c
JOIN sys.objects AS o ON o.object_id = c.object_id
JOIN sys.types AS t ON t.user_type_id = c.user_type_id
LEFT JOIN sys.table_types AS tt ON tt.type_table_object_id = c.object_id
WHERE o.is_ms_shipped = 0 AND o.type IN ('U', 'V', 'TT', 'IF', 'TF')
