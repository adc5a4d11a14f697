sqlscripts: ни одна таблица не подходит под шаблон --exclude-data-tables nothing.here; ничего не записано
