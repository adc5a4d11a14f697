sqlscripts: --schema nope не подходит ни к одной схеме каталога; ничего не записано
sqlscripts: --exclude-object dbo.X* не подходит ни к одному объекту каталога; ничего не записано
