ALTER AUTHORIZATION ON OBJECT::[dbo].[OrderNo] TO [app_user];
GO
