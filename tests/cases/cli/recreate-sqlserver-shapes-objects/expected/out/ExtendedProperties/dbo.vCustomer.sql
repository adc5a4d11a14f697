EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'a view''s column', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'VIEW', @level1name = N'vCustomer', @level2type = N'COLUMN', @level2name = N'CustomerId';
GO
