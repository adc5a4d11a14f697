INSERT INTO [dbo].[tree] ([id], [parent], [label]) VALUES
(1, 3, 'grandchild'),
(3, 5, 'child'),
(4, 5, 'second child'),
(5, NULL, 'root');
GO
