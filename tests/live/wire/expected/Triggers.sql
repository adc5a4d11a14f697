SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 



CREATE TRIGGER [dbo].[Journal] ON [dbo].[Commandes_Größe] AFTER INSERT AS
-- запись в журнал: ログ
UPDATE [dbo].[Orders] SET [Name] = N'新規' WHERE [OrderNo] IN (SELECT [Numéro] FROM inserted)
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
