ALTER TABLE [my schema].[Order] ADD 
 	FOREIGN KEY 
	( 
		[it's] 
	) REFERENCES [it's [a].b c] 
	( 
		[it's] 
	)   ON UPDATE  CASCADE
GO 

