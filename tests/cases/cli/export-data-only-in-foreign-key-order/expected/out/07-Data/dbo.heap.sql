INSERT INTO [dbo].[heap] ([a], [b]) VALUES
(2, 'two'),
(1, 'one'),
(NULL, NULL);
GO
