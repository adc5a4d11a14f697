sqlscripts: требуются FROM и TO (sqlscripts diff --help перечисляет её параметры)
