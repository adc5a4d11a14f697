ALTER TABLE [dbo].[Node] WITH NOCHECK ADD CONSTRAINT [FK_Node_Parent] FOREIGN KEY ([ParentId]) REFERENCES [dbo].[Node] ([NodeId]);
ALTER TABLE [dbo].[Node] NOCHECK CONSTRAINT [FK_Node_Parent];
GO
