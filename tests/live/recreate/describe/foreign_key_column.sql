-- The column pairs of every foreign key, in order.
SELECT QUOTENAME(OBJECT_SCHEMA_NAME(fc.parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(fc.parent_object_id))
           + N'.' + QUOTENAME(OBJECT_NAME(fc.constraint_object_id)) + N' '
           + CONVERT(nvarchar(10), fc.constraint_column_id) AS [object],
       QUOTENAME(COL_NAME(fc.parent_object_id, fc.parent_column_id)) AS [column],
       QUOTENAME(COL_NAME(fc.referenced_object_id, fc.referenced_column_id)) AS [referenced]
FROM sys.foreign_key_columns AS fc
