sqlscripts: --data-tables: за ним следует параметр --dir, а не его значение (sqlscripts --help перечисляет команды и параметры)
