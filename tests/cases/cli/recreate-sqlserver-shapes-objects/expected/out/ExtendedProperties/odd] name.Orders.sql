EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'The order', @level0type = N'SCHEMA', @level0name = N'odd] name', @level1type = N'VIEW', @level1name = N'Orders', @level2type = N'COLUMN', @level2name = N'OrderId';
GO
