sqlscripts: ни одна таблица не подходит под шаблоны --data-tables nothing.here, [no].[such, table]; ничего не записано
