ALTER TABLE [dbo].[husband] NOCHECK CONSTRAINT [fk_husband_wife];
ALTER TABLE [dbo].[wife] NOCHECK CONSTRAINT [fk_wife_husband];
GO
INSERT INTO [dbo].[husband] ([id], [wife]) VALUES
(1, 10),
(2, 20);
GO
