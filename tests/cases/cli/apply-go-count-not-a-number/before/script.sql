CREATE TABLE T (x int);
GO 2x
