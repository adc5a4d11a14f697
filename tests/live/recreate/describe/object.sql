-- Every object a user made, by kind and parent. Constraints and defaults have queries of their own, keyed by
-- what they belong to; a table type's object has a generated name and is described as its type.
SELECT QUOTENAME(SCHEMA_NAME(o.schema_id)) + N'.' + QUOTENAME(o.name) AS [object], o.type_desc AS [kind],
       QUOTENAME(OBJECT_SCHEMA_NAME(o.parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(o.parent_object_id)) AS [parent]
FROM sys.objects AS o
WHERE o.is_ms_shipped = 0 AND o.type NOT IN ('C', 'D', 'F', 'PK', 'UQ', 'TT')
