-- Objects named in Cyrillic, which this server's code page for names (CP1252) lacks: their names come back
-- as '?'. The catalog snapshot of the golden case export-names-the-connection-could-not-carry was recorded
-- from these objects, so the live export writes that case's files.
CREATE TABLE dbo.Заказы (Номер int NOT NULL PRIMARY KEY, Сумма int NULL)
GO
CREATE TABLE dbo.Товары (Код int NOT NULL, Имя nvarchar(20) NULL)
GO
CREATE TABLE dbo.Plain (id int NOT NULL)
GO
CREATE VIEW dbo.Отчёт AS SELECT Номер FROM dbo.Заказы
GO
CREATE INDEX ix_kod ON dbo.Товары (Код)
GO
