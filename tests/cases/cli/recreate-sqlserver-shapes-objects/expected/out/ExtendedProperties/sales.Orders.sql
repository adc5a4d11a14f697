EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Numbered by OrderNo', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Orders', @level2type = N'CONSTRAINT', @level2name = N'PK_Orders';
GO
