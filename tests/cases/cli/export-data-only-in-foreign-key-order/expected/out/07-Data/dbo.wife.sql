INSERT INTO [dbo].[wife] ([id], [husband]) VALUES
(10, 1),
(20, 2);
GO
ALTER TABLE [dbo].[husband] WITH CHECK CHECK CONSTRAINT [fk_husband_wife];
ALTER TABLE [dbo].[wife] WITH CHECK CHECK CONSTRAINT [fk_wife_husband];
GO
