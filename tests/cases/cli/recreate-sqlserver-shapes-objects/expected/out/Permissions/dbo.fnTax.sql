GRANT EXECUTE ON OBJECT::[dbo].[fnTax] TO [readers];
GO
