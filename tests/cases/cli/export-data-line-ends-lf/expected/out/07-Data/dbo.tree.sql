ALTER TABLE [dbo].[tree] NOCHECK CONSTRAINT [fk_tree_parent];
GO
INSERT INTO [dbo].[tree] ([id], [parent], [label]) VALUES
(1, 3, 'grandchild'),
(3, 5, 'child'),
(4, 5, 'second child'),
(5, NULL, 'root');
GO
ALTER TABLE [dbo].[tree] WITH CHECK CHECK CONSTRAINT [fk_tree_parent];
GO
