sqlscripts: --clean с --data отдаёт строки таблицам, которые создаёт заново: --only и --skip должны оставлять tables (sqlscripts --help перечисляет команды и параметры)
