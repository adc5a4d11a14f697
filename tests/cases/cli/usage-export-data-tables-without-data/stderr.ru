sqlscripts: --data-tables и --rows-per-insert действуют только с --data или --data-only (sqlscripts --help перечисляет команды и параметры)
