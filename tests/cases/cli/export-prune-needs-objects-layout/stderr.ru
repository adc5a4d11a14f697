sqlscripts: --name-template действует только с --layout objects, --prune — с --layout objects или --recreate (sqlscripts export --help перечисляет её параметры)
