sqlscripts: пакеты 17-FullText.sql, 18-Search.sql, которые меняют полнотекстовые каталоги и индексы, выполняются после фиксации транзакции: SQL Server не допускает их внутри неё
sqlscripts: не удалось начать транзакцию: [SQLite]only one SQL statement allowed
