ALTER TABLE [dbo].[AuditLog] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[AuditId] 
	)  
GO 

ALTER TABLE [dbo].[Customer] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[CustomerId] 
	)  
GO 

ALTER TABLE [dbo].[OrderLine] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[OrderId],
		[LineNum] 
	)  
GO 

ALTER TABLE [dbo].[Orders] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[OrderId] 
	)  
GO 

ALTER TABLE [sales].[Region] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[RegionId] 
	)  
GO 

