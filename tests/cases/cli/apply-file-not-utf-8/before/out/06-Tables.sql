CREATE TABLE T (x varchar(10));
GO
