-- sqlscripts stream: it ends with a closing line that says what it holds (without that line it was cut short)
CREATE TABLE T (x int);
GO
INSERT INTO T (x) VA