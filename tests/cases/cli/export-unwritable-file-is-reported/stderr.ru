sqlscripts: Ошибка выгрузки в файл {dir}/out/missing/PK.sql: Нет такого файла или каталога
