EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Features of a database, Возможности';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Sales, with a blank', @level0type = N'SCHEMA', @level0name = N'Sales Dept';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'A phone number', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TYPE', @level1name = N'phone';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'A reserved name', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'select';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Doubles', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'Twice';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Orders as a view', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'VIEW', @level1name = N'vOrder';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'An odd column', @level0type = N'SCHEMA', @level0name = N'it''s.odd', @level1type = N'TABLE', @level1name = N'Table.With "Quotes''', @level2type = N'COLUMN', @level2name = N'a.b c';
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Order lines: it''s 行', @level0type = N'SCHEMA', @level0name = N'Sales Dept', @level1type = N'TABLE', @level1name = N'order lines';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'How many', @level0type = N'SCHEMA', @level0name = N'Sales Dept', @level1type = N'TABLE', @level1name = N'order lines', @level2type = N'COLUMN', @level2name = N'Qty';
GO
