sqlscripts: предупреждение: процедура dbo.OrderCount: объект переименован, его сохранённый текст, а значит и скрипт, создаёт dbo.Report
sqlscripts: удалены 4 файла, записанные прежней выгрузкой и не записанные этой: 07-Data/dbo.Archive.sql, 09-Indexes.sql, 11-ViewsAndFunctions.sql, 13-Triggers.sql
sqlscripts: скрипты записаны в {dir}/out
