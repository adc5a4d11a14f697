sqlscripts: dbo.sales.Orders: такого объекта в каталоге нет; без --recreate object ищет только в схеме dbo (object --recreate принимает СХЕМА.ИМЯ)
