sqlscripts: --data-tables, --rows-per-insert и --consistent действуют только с --data или --data-only (sqlscripts export --help перечисляет её параметры)
