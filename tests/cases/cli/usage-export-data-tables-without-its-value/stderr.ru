sqlscripts: --data-tables: за ним следует параметр --dir, а не его значение (sqlscripts export --help перечисляет её параметры)
