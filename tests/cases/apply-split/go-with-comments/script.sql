SELECT 1
go -- x
SELECT 2
GO /* done */ -- and more
SELECT 3
	GO	/* a */ /* b */
