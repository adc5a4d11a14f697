sqlscripts: --exclude-schema действует только с --recreate или --data-only (sqlscripts --help перечисляет команды и параметры)
