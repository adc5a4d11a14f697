EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'One line number a row', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'tfLines', @level2type = N'COLUMN', @level2name = N'n';
GO
