sqlscripts: 06-Tables.sql применён: 2 пакета, 2 строки
sqlscripts: 08-Constraints.sql:4: [SQLite]no such table: main.Missing (1) (SQLSTATE HY000, код ошибки сервера 1)
sqlscripts: остановлено; до этого применено: 1 файл, 3 пакета
