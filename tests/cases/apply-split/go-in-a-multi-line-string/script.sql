INSERT INTO [dbo].[Notes] ([Text]) VALUES ('first line
GO
last line');
GO
SELECT 'it''s';
GO
