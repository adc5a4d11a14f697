sqlscripts: stdin:5: [SQLite]no such table: Missing (1) (SQLSTATE HY000, код ошибки сервера 1)
sqlscripts: откачено: база данных осталась такой, какой была
