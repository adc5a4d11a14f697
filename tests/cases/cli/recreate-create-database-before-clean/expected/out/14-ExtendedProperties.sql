EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Sample of SQL Server''s catalog';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Sales', @level0type = N'SCHEMA', @level0name = N'sales';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Customers — клиенты', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'It''s the name', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'COLUMN', @level2name = N'Name';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'One row per customer', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'CONSTRAINT', @level2name = N'PK_Customer';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Names differ', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'CONSTRAINT', @level2name = N'UQ_Customer_Name';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Names are never empty', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'CONSTRAINT', @level2name = N'CK_Customer_Name';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Phones', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'INDEX', @level2name = N'IX_Customer_Phone';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'A customer''s id', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'fnIsValid', @level2type = N'PARAMETER', @level2name = N'@id';
GO
EXEC sys.sp_addextendedproperty @name = N'Unit', @value = 'USD', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'fnTax', @level2type = N'PARAMETER', @level2name = N'@a';
GO
EXEC sys.sp_addextendedproperty @name = N'Revision', @value = CAST(N'7' AS int), @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'pEven';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'How many steps', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'pEven', @level2type = N'PARAMETER', @level2name = N'@n';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = 'digits', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TYPE', @level1name = N'Phone';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'One line number a row', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'tfLines', @level2type = N'COLUMN', @level2name = N'n';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'a view''s column', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'VIEW', @level1name = N'vCustomer', @level2type = N'COLUMN', @level2name = N'CustomerId';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'The order', @level0type = N'SCHEMA', @level0name = N'odd] name', @level1type = N'VIEW', @level1name = N'Orders', @level2type = N'COLUMN', @level2name = N'OrderId';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Numbered by OrderNo', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Orders', @level2type = N'CONSTRAINT', @level2name = N'PK_Orders';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Numbers each order', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Orders', @level2type = N'TRIGGER', @level2name = N'trOrders';
GO
