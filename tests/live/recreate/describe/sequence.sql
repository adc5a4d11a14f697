-- Sequences, from INFORMATION_SCHEMA.SEQUENCES: the test server has no sys.sequences.
SELECT QUOTENAME(SEQUENCE_SCHEMA) + N'.' + QUOTENAME(SEQUENCE_NAME) AS [object], DATA_TYPE AS [type],
       NUMERIC_PRECISION AS [precision], NUMERIC_SCALE AS [scale],
       CONVERT(nvarchar(40), START_VALUE) AS [start], CONVERT(nvarchar(40), INCREMENT) AS [increment],
       CONVERT(nvarchar(40), MINIMUM_VALUE) AS [minimum], CONVERT(nvarchar(40), MAXIMUM_VALUE) AS [maximum],
       CYCLE_OPTION AS [cycle]
FROM INFORMATION_SCHEMA.SEQUENCES
