EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Regions we sell in', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Regions';
GO
