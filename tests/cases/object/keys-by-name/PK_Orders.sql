ALTER TABLE [dbo].[Orders] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[OrderId] 
	)  
GO 

