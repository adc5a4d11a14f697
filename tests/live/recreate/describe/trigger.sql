-- Triggers: what they are on, when they fire and whether they are enabled.
SELECT QUOTENAME(OBJECT_SCHEMA_NAME(t.object_id)) + N'.' + QUOTENAME(t.name) AS [object],
       CASE WHEN t.parent_class = 0 THEN N'(database)'
            ELSE QUOTENAME(OBJECT_SCHEMA_NAME(t.parent_id)) + N'.' + QUOTENAME(OBJECT_NAME(t.parent_id)) END AS [parent],
       t.is_instead_of_trigger, t.is_disabled, t.is_not_for_replication
FROM sys.triggers AS t
WHERE t.is_ms_shipped = 0
