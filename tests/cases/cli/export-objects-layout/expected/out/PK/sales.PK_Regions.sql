ALTER TABLE [sales].[Regions] ADD 
	PRIMARY KEY NONCLUSTERED 
	( 
		[Code] 
	)  
GO 

