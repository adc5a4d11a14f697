sqlscripts: --object: нужен шаблон, а дана пустая строка (sqlscripts --help перечисляет команды и параметры)
