-- Foreign keys: the referenced table and key, the actions and the state.
SELECT QUOTENAME(OBJECT_SCHEMA_NAME(f.parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(f.parent_object_id))
           + N'.' + QUOTENAME(f.name) AS [object],
       QUOTENAME(OBJECT_SCHEMA_NAME(f.referenced_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(f.referenced_object_id))
           AS [references],
       QUOTENAME(i.name) AS [key], f.delete_referential_action_desc AS [on_delete],
       f.update_referential_action_desc AS [on_update], f.is_disabled, f.is_not_trusted, f.is_not_for_replication
FROM sys.foreign_keys AS f
LEFT JOIN sys.indexes AS i ON i.object_id = f.referenced_object_id AND i.index_id = f.key_index_id
