-- Synonyms and what they stand for.
SELECT QUOTENAME(SCHEMA_NAME(schema_id)) + N'.' + QUOTENAME(name) AS [object], base_object_name AS [base]
FROM sys.synonyms
