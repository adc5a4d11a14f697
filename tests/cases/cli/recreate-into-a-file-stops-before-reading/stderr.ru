sqlscripts: Ошибка создания директории выгрузки {dir}/plain-file/out: Это не каталог
