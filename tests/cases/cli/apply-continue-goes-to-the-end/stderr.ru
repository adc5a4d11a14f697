sqlscripts: stdin:5: [SQLite]no such table: Missing (1) (SQLSTATE HY000, код ошибки сервера 1)
sqlscripts: stdin:9: [SQLite]no such table: Nowhere (1) (SQLSTATE HY000, код ошибки сервера 1)
sqlscripts: 2 пакета отвергнуто
