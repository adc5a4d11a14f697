sqlscripts: --object: нужен шаблон, а дана пустая строка (sqlscripts export --help перечисляет её параметры)
