ALTER TABLE [dbo].[husband] ADD CONSTRAINT [fk_husband_wife] FOREIGN KEY ([wife]) REFERENCES [dbo].[wife] ([id]);
GO
ALTER TABLE [dbo].[tree] ADD CONSTRAINT [fk_tree_parent] FOREIGN KEY ([parent]) REFERENCES [dbo].[tree] ([id]);
GO
ALTER TABLE [dbo].[wife] ADD CONSTRAINT [fk_wife_husband] FOREIGN KEY ([husband]) REFERENCES [dbo].[husband] ([id]);
GO
ALTER TABLE [sales].[order lines] ADD CONSTRAINT [fk_lines_tree] FOREIGN KEY ([select]) REFERENCES [dbo].[tree] ([id]);
GO
