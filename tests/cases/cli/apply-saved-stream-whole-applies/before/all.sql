-- sqlscripts stream: it ends with a closing line that says what it holds (without that line it was cut short)
CREATE TABLE T (x int);
GO
INSERT INTO T (x) VALUES (1);
GO 2
INSERT INTO Missing (x) VALUES (1);
GO
-- end of the sqlscripts stream: files 1, batches 3, checksum 0ab7d1687f8a9ca0
