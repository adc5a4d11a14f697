-- Computed columns: expression and whether it is stored.
SELECT QUOTENAME(COALESCE(SCHEMA_NAME(tt.schema_id), OBJECT_SCHEMA_NAME(cc.object_id))) + N'.'
           + QUOTENAME(COALESCE(tt.name, OBJECT_NAME(cc.object_id))) + N'.'
           + QUOTENAME(COL_NAME(cc.object_id, cc.column_id)) AS [object],
       cc.definition, cc.is_persisted
FROM sys.computed_columns AS cc
LEFT JOIN sys.table_types AS tt ON tt.type_table_object_id = cc.object_id
WHERE OBJECTPROPERTY(cc.object_id, 'IsMSShipped') = 0
