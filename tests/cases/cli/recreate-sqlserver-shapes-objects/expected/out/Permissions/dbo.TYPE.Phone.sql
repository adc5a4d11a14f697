GRANT EXECUTE ON TYPE::[dbo].[Phone] TO [readers];
GO
