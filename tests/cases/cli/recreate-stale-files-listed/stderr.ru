sqlscripts: предупреждение: процедура dbo.OrderCount: объект переименован, его сохранённый текст, а значит и скрипт, создаёт dbo.Report
sqlscripts: 2 файла, записанные прежней выгрузкой, больше не записываются (--prune удаляет их): 07-Data/dbo.Archive.sql, 13-Triggers.sql
