ALTER TABLE [dbo].[Customers] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[Id] 
	)  
GO 

