GRANT UPDATE ON OBJECT::[dbo].[OrderNo] TO [writers];
GO
