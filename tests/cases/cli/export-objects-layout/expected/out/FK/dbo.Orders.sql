ALTER TABLE [dbo].[Orders] ADD 
 	FOREIGN KEY 
	( 
		[CustomerId] 
	) REFERENCES [Customers] 
	( 
		[Id] 
	)  ON DELETE  CASCADE 
GO 

