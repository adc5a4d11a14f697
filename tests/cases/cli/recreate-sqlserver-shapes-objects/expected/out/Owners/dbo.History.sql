ALTER AUTHORIZATION ON OBJECT::[dbo].[History] TO [writers];
GO
