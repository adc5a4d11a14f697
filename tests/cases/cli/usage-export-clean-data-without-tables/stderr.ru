sqlscripts: --clean с --data отдаёт строки таблицам, которые создаёт заново: --only и --skip должны оставлять tables (sqlscripts export --help перечисляет её параметры)
