ALTER TABLE [dbo].[Orders] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[Id] 
	) WITH  FILLFACTOR = 90  
GO 

