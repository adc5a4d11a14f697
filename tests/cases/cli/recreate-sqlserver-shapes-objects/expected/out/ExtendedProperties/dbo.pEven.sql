EXEC sys.sp_addextendedproperty @name = N'Revision', @value = CAST(N'7' AS int), @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'pEven';
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'How many steps', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'pEven', @level2type = N'PARAMETER', @level2name = N'@n';
GO
