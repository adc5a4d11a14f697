-- Primary key and unique constraints; their keys and options are those of their index. A table type's
-- constraints cannot be named, so theirs go by index number.
SELECT QUOTENAME(COALESCE(SCHEMA_NAME(tt.schema_id), OBJECT_SCHEMA_NAME(k.parent_object_id))) + N'.'
           + QUOTENAME(COALESCE(tt.name, OBJECT_NAME(k.parent_object_id))) + N'.'
           + CASE WHEN tt.name IS NULL THEN QUOTENAME(k.name)
                  ELSE N'#' + CONVERT(nvarchar(10), k.unique_index_id) END AS [object],
       k.type_desc AS [kind], QUOTENAME(i.name) AS [index]
FROM sys.key_constraints AS k
LEFT JOIN sys.indexes AS i ON i.object_id = k.parent_object_id AND i.index_id = k.unique_index_id
LEFT JOIN sys.table_types AS tt ON tt.type_table_object_id = k.parent_object_id
