EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = 'digits', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TYPE', @level1name = N'Phone';
GO
