sqlscripts: --exclude-data-tables действует только с --data или --data-only (sqlscripts export --help перечисляет её параметры)
