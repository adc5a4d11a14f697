-- The statements each trigger fires on.
SELECT QUOTENAME(OBJECT_SCHEMA_NAME(e.object_id)) + N'.' + QUOTENAME(OBJECT_NAME(e.object_id)) AS [object],
       e.type_desc AS [event]
FROM sys.trigger_events AS e
