ALTER TABLE [dbo].[Customers] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[Id] 
	)  
GO 

ALTER TABLE [dbo].[Orders] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[Id] 
	) WITH  FILLFACTOR = 90  
GO 

ALTER TABLE [sales].[Regions] ADD 
	PRIMARY KEY NONCLUSTERED 
	( 
		[Code] 
	)  
GO 

