ALTER TABLE [dbo].[OrderLines] ADD 
	PRIMARY KEY NONCLUSTERED 
	( 
		[OrderId],
		[LineNo] 
	) WITH  FILLFACTOR = 80  
GO 

ALTER TABLE [dbo].[Orders] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[OrderId] 
	)  
GO 

