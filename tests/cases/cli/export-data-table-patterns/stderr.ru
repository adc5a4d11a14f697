sqlscripts: предупреждение: ни одна таблица не подходит под --data-tables nothing.here
