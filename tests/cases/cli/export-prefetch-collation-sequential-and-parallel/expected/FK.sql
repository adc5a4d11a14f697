ALTER TABLE [dbo].[discounts] ADD 
 	FOREIGN KEY 
	( 
		[stor_id] 
	) REFERENCES [stores] 
	( 
		[stor_id] 
	)  
GO 

ALTER TABLE [dbo].[employee] ADD 
 	FOREIGN KEY 
	( 
		[pub_id] 
	) REFERENCES [publishers] 
	( 
		[pub_id] 
	)  
	,
	FOREIGN KEY 
	( 
		[job_id] 
	) REFERENCES [jobs] 
	( 
		[job_id] 
	)  
GO 

ALTER TABLE [dbo].[pub_info] ADD 
 	FOREIGN KEY 
	( 
		[pub_id] 
	) REFERENCES [publishers] 
	( 
		[pub_id] 
	)  
GO 

ALTER TABLE [dbo].[roysched] ADD 
 	FOREIGN KEY 
	( 
		[title_id] 
	) REFERENCES [titles] 
	( 
		[title_id] 
	)  
GO 

ALTER TABLE [dbo].[sales] ADD 
 	FOREIGN KEY 
	( 
		[title_id] 
	) REFERENCES [titles] 
	( 
		[title_id] 
	)  
	,
	FOREIGN KEY 
	( 
		[stor_id] 
	) REFERENCES [stores] 
	( 
		[stor_id] 
	)  
GO 

ALTER TABLE [dbo].[titleauthor] ADD 
 	FOREIGN KEY 
	( 
		[au_id] 
	) REFERENCES [authors] 
	( 
		[au_id] 
	)  
	,
	FOREIGN KEY 
	( 
		[title_id] 
	) REFERENCES [titles] 
	( 
		[title_id] 
	)  
GO 

ALTER TABLE [dbo].[titles] ADD 
 	FOREIGN KEY 
	( 
		[pub_id] 
	) REFERENCES [publishers] 
	( 
		[pub_id] 
	)  
GO 

