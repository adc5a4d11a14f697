-- Indexes, heaps included: kind, uniqueness, filter, options, data space and compression. A table type's
-- indexes go by number.
SELECT QUOTENAME(COALESCE(SCHEMA_NAME(tt.schema_id), OBJECT_SCHEMA_NAME(i.object_id))) + N'.'
           + QUOTENAME(COALESCE(tt.name, OBJECT_NAME(i.object_id))) + N'.'
           + CASE WHEN tt.name IS NOT NULL THEN N'#' + CONVERT(nvarchar(10), i.index_id)
                  ELSE COALESCE(QUOTENAME(i.name), N'(heap)') END AS [object],
       i.type_desc AS [kind], i.is_unique, i.is_primary_key, i.is_unique_constraint, i.has_filter,
       i.filter_definition AS [filter], i.fill_factor, i.is_padded, i.ignore_dup_key, i.allow_row_locks,
       i.allow_page_locks, i.is_disabled, QUOTENAME(ds.name) AS [data_space], pt.data_compression_desc AS [compression]
FROM sys.indexes AS i
JOIN sys.objects AS o ON o.object_id = i.object_id
LEFT JOIN sys.table_types AS tt ON tt.type_table_object_id = i.object_id
LEFT JOIN sys.data_spaces AS ds ON ds.data_space_id = i.data_space_id
LEFT JOIN sys.partitions AS pt ON pt.object_id = i.object_id AND pt.index_id = i.index_id AND pt.partition_number = 1
WHERE o.is_ms_shipped = 0 AND o.type IN ('U', 'V', 'TT') AND i.is_hypothetical = 0
