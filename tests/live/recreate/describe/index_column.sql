-- The columns of every index: keys in key order with their direction, then the included ones.
SELECT QUOTENAME(COALESCE(SCHEMA_NAME(tt.schema_id), SCHEMA_NAME(o.schema_id))) + N'.'
           + QUOTENAME(COALESCE(tt.name, o.name)) + N'.'
           + CASE WHEN tt.name IS NOT NULL THEN N'#' + CONVERT(nvarchar(10), i.index_id) ELSE QUOTENAME(i.name) END
           + CASE WHEN ic.is_included_column = 1 THEN N' include'
                  ELSE N' key ' + CONVERT(nvarchar(10), ic.key_ordinal) END AS [object],
       QUOTENAME(COL_NAME(ic.object_id, ic.column_id)) AS [column],
       CASE WHEN ic.is_included_column = 0 THEN ic.is_descending_key END AS [descending]
FROM sys.index_columns AS ic
JOIN sys.indexes AS i ON i.object_id = ic.object_id AND i.index_id = ic.index_id
JOIN sys.objects AS o ON o.object_id = ic.object_id
LEFT JOIN sys.table_types AS tt ON tt.type_table_object_id = ic.object_id
WHERE o.is_ms_shipped = 0 AND o.type IN ('U', 'V', 'TT') AND i.is_hypothetical = 0
