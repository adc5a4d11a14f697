DBCC CHECKIDENT ('[dbo].[empty]', RESEED, 8);
GO
