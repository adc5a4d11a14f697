sqlscripts: полнотекстовые пакеты 15a-FullText.sql, 18-Search.sql выполняются после фиксации транзакции: SQL Server не меняет полнотекстовые каталоги и индексы внутри неё
sqlscripts: не удалось начать транзакцию: [SQLite]only one SQL statement allowed
