EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Numbers each order', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Orders', @level2type = N'TRIGGER', @level2name = N'trOrders';
GO
