sqlscripts: --file: tables и views записали бы один и тот же Tables.sql (sqlscripts export --help перечисляет её параметры)
