CREATE TABLE dbo.Docs (Id int NOT NULL CONSTRAINT PK_Docs PRIMARY KEY, Title nvarchar(100) NOT NULL);
GO
INSERT INTO dbo.Docs (Id, Title) VALUES (1, N'one'), (2, N'two');
GO
