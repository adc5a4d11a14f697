EXEC sys.sp_addextendedproperty @name = N'Unit', @value = 'USD', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'fnTax', @level2type = N'PARAMETER', @level2name = N'@a';
GO
