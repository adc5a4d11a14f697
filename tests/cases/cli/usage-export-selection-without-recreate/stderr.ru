sqlscripts: --exclude-schema действует только с --recreate или --data-only (sqlscripts export --help перечисляет её параметры)
