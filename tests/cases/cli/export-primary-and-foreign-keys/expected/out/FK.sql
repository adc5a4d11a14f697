ALTER TABLE [dbo].[OrderLines] ADD 
 	FOREIGN KEY 
	( 
		[OrderId] 
	) REFERENCES [Orders] 
	( 
		[OrderId] 
	)  ON DELETE  CASCADE 
	,
	FOREIGN KEY 
	( 
		[ProductId] 
	) REFERENCES [Products] 
	( 
		[ProductId] 
	)  ON DELETE  SET DEFAULT  ON UPDATE  SET NULL
GO 

