EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'A customer''s id', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'fnIsValid', @level2type = N'PARAMETER', @level2name = N'@id';
GO
