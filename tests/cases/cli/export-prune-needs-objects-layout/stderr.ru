sqlscripts: --name-template действует только с --layout objects, --prune — с --layout objects или --recreate (sqlscripts --help перечисляет команды и параметры)
