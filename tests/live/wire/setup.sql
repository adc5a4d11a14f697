-- The wire test's own database, one object per batch: identity seeds and increments, which
-- sys.identity_columns sends as sql_variant; Cyrillic and CJK in comments, string literals and the names
-- inside definitions; catalog names in the server's code page (CP1252: é, ß, €). This server's sysname is
-- varchar, so a catalog name outside that code page (Cyrillic, CJK) comes back as '?' and is not used here;
-- SQL Server's sysname is nvarchar. A decimal identity column comes back as bigint here.
CREATE TABLE [dbo].[Commandes_Größe] (
    [Numéro] int IDENTITY(2147483647, -1) NOT NULL,
    [Client] nvarchar(40) NULL,
    [Prix_€] money NULL CONSTRAINT [ck_prix] CHECK ([Prix_€] >= 0),
    CONSTRAINT [pk_commandes] PRIMARY KEY ([Numéro])
)
GO
CREATE TABLE [dbo].[Orders] ([Id] bigint IDENTITY(-1, -1) NOT NULL, [Name] nvarchar(20) NOT NULL, [OrderNo] int NULL)
GO
CREATE TABLE [dbo].[Counters] ([Small] smallint IDENTITY(-100, 5) NOT NULL, [Note] nvarchar(100) NULL)
GO
CREATE TABLE [dbo].[Wide] ([Id] decimal(12, 0) IDENTITY(1000000000, 1000) NOT NULL, [Code] char(3) NULL)
GO
CREATE VIEW [dbo].[Report] AS
-- Итоги по клиентам / 顧客ごとの合計
SELECT [Client] AS [Клиент], N'Привет, 世界' AS [Приветствие], SUM([Prix_€]) AS [合計]
FROM [dbo].[Commandes_Größe]
GROUP BY [Client]
GO
CREATE PROCEDURE [dbo].[Search] @Имя nvarchar(20) AS
/* поиск по имени: 名前で検索 */
SELECT [Id], [Name] FROM [dbo].[Orders] WHERE [Name] = @Имя OR [Name] = N'東京'
GO
CREATE FUNCTION [dbo].[Greeting] (@Имя nvarchar(20)) RETURNS nvarchar(60) AS
BEGIN
    RETURN N'Здравствуйте, ' + @Имя + N'! こんにちは'
END
GO
CREATE TRIGGER [dbo].[Journal] ON [dbo].[Commandes_Größe] AFTER INSERT AS
-- запись в журнал: ログ
UPDATE [dbo].[Orders] SET [Name] = N'新規' WHERE [OrderNo] IN (SELECT [Numéro] FROM inserted)
GO
CREATE INDEX [ix_name] ON [dbo].[Orders] ([Name])
GO
