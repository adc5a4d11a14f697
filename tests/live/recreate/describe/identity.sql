-- Identity columns: seed and increment.
SELECT QUOTENAME(COALESCE(SCHEMA_NAME(tt.schema_id), OBJECT_SCHEMA_NAME(ic.object_id))) + N'.'
           + QUOTENAME(COALESCE(tt.name, OBJECT_NAME(ic.object_id))) + N'.'
           + QUOTENAME(COL_NAME(ic.object_id, ic.column_id)) AS [object],
       CONVERT(nvarchar(40), ic.seed_value) AS [seed], CONVERT(nvarchar(40), ic.increment_value) AS [increment],
       ic.is_not_for_replication
FROM sys.identity_columns AS ic
LEFT JOIN sys.table_types AS tt ON tt.type_table_object_id = ic.object_id
WHERE OBJECTPROPERTY(ic.object_id, 'IsMSShipped') = 0
