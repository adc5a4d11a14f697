пароль для reader: 
sqlscripts: нет соединения: [unixODBC][Driver Manager]Can't open lib '/nonexistent/***.so' : file not found
