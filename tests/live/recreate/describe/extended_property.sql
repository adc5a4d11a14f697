-- MS_Description extended properties, by what they describe.
SELECT CASE ep.class
           WHEN 0 THEN N'(database)'
           WHEN 1 THEN QUOTENAME(OBJECT_SCHEMA_NAME(ep.major_id)) + N'.' + QUOTENAME(OBJECT_NAME(ep.major_id))
                       + COALESCE(N'.' + QUOTENAME(COL_NAME(ep.major_id, NULLIF(ep.minor_id, 0))), N'')
           WHEN 2 THEN QUOTENAME(OBJECT_SCHEMA_NAME(ep.major_id)) + N'.' + QUOTENAME(OBJECT_NAME(ep.major_id))
                       + N' parameter ' + CONVERT(nvarchar(10), ep.minor_id)
           WHEN 3 THEN QUOTENAME(SCHEMA_NAME(ep.major_id))
           WHEN 4 THEN QUOTENAME(USER_NAME(ep.major_id))
           WHEN 6 THEN QUOTENAME(SCHEMA_NAME(t.schema_id)) + N'.' + QUOTENAME(t.name)
           WHEN 7 THEN QUOTENAME(OBJECT_SCHEMA_NAME(ep.major_id)) + N'.' + QUOTENAME(OBJECT_NAME(ep.major_id))
                       + N'.' + QUOTENAME(i.name)
           ELSE ep.class_desc END + N' ' + QUOTENAME(ep.name) AS [object],
       ep.class_desc AS [class], CONVERT(nvarchar(max), ep.value) AS [value]
FROM sys.extended_properties AS ep
LEFT JOIN sys.types AS t ON ep.class = 6 AND t.user_type_id = ep.major_id
LEFT JOIN sys.indexes AS i ON ep.class = 7 AND i.object_id = ep.major_id AND i.index_id = ep.minor_id
WHERE ep.name = N'MS_Description'
