GRANT SELECT ON OBJECT::[dbo].[Customer] TO [readers];
GRANT UPDATE ([Name]) ON OBJECT::[dbo].[Customer] TO [writers];
REVOKE SELECT ([Notes]) ON OBJECT::[dbo].[Customer] FROM [readers];
GO
