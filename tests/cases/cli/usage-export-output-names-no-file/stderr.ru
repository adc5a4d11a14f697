sqlscripts: --output: не указан файл (sqlscripts export --help перечисляет её параметры)
