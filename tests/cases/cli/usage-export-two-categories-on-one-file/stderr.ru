sqlscripts: --file: tables и views записали бы один и тот же Tables.sql (sqlscripts --help перечисляет команды и параметры)
