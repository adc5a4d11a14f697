sqlscripts: table dbo.b, column id (int): the value "two" is not in a form that can be written back exactly
