ALTER TABLE [dbo].[Customer] ADD 
 	FOREIGN KEY 
	( 
		[RegionId] 
	) REFERENCES [Region] 
	( 
		[RegionId] 
	)  
GO 

ALTER TABLE [dbo].[OrderLine] ADD 
 	FOREIGN KEY 
	( 
		[OrderId] 
	) REFERENCES [Orders] 
	( 
		[OrderId] 
	)  ON DELETE  CASCADE 
GO 

ALTER TABLE [dbo].[Orders] ADD 
 	FOREIGN KEY 
	( 
		[CustomerId] 
	) REFERENCES [Customer] 
	( 
		[CustomerId] 
	)  ON DELETE  CASCADE 
GO 

