CREATE TABLE a (x int);
GO
