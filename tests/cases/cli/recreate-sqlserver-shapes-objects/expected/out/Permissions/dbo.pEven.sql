GRANT EXECUTE ON OBJECT::[dbo].[pEven] TO [app_user];
GO
