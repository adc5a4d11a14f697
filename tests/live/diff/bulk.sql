-- Changes made to a recreated copy of bulk, rows first; the copy is migrated back by sqlscripts diff.
SET IDENTITY_INSERT [dbo].[T001] ON
GO
INSERT INTO [dbo].[T001] ([Id], [ParentId], [Name], [Amount]) VALUES (1, NULL, N'one', 1.5), (2, 1, N'two', 0)
GO
SET IDENTITY_INSERT [dbo].[T001] OFF
GO
ALTER TABLE [dbo].[T001] ALTER COLUMN [CreatedAt] datetime2(3)
GO
DROP INDEX [ix_t001_name] ON [dbo].[T001]
GO
ALTER TABLE [dbo].[T001] DROP CONSTRAINT [ck_t001_amount]
GO
ALTER TABLE [dbo].[T001] ADD CONSTRAINT [ck_t001_amount] CHECK ([Amount] >= -1)
GO
ALTER TABLE [dbo].[T002] DROP CONSTRAINT [fk_t002_t001]
GO
