EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Sample of SQL Server''s catalog';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Sales', @level0type = N'SCHEMA', @level0name = N'sales';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Customers — клиенты', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'It''s the name', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'COLUMN', @level2name = N'Name';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Names are never empty', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'CONSTRAINT', @level2name = N'CK_Customer_Name';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Phones', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'INDEX', @level2name = N'IX_Customer_Phone';
GO
EXEC sys.sp_addextendedproperty @name = N'Revision', @value = CAST(N'7' AS int), @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'pEven';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = 'digits', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TYPE', @level1name = N'Phone';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Numbers each order', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Orders', @level2type = N'TRIGGER', @level2name = N'trOrders';
GO
