EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Sales', @level0type = N'SCHEMA', @level0name = N'sales';
GO
