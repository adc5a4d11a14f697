GRANT SELECT ON OBJECT::[dbo].[Cust] TO [readers];
GO
