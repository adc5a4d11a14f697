GOTO done
SELECT 1 AS GO
GO;
done:
GO
