CREATE TABLE Docs (Id int PRIMARY KEY, Title varchar(100));
GO
