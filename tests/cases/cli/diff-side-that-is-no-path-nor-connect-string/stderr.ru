sqlscripts: нет такой папки или снимка: chinook_vX
