sqlscripts: --output: не указан файл (sqlscripts --help перечисляет команды и параметры)
