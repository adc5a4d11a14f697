GRANT SELECT ON OBJECT::[dbo].[vCustomer] TO [public];
GO
