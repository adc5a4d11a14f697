sqlscripts: неизвестный параметр --recreat для export; может быть, имелся в виду --recreate? (sqlscripts export --help перечисляет её параметры)
