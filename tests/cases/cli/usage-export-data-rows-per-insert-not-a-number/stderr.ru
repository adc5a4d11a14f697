sqlscripts: --rows-per-insert: «abc» — не целое число от 1 до 1000 (sqlscripts export --help перечисляет её параметры)
