sqlscripts: stdin:4: затронута 1 строка
sqlscripts: stdin:4: затронута 1 строка
sqlscripts: stdin:6: [SQLite]no such table: Missing (1) (SQLSTATE HY000, код ошибки сервера 1)
sqlscripts: остановлено; до этого применено: 0 файлов, 2 пакета
