ALTER TABLE [dbo].[jobs] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[job_id] 
	)  
GO 

ALTER TABLE [dbo].[employee] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[emp_id] 
	)  
GO 

ALTER TABLE [dbo].[stores] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[stor_id] 
	)  
GO 

ALTER TABLE [dbo].[authors] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[au_id] 
	)  
GO 

ALTER TABLE [dbo].[publishers] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[pub_id] 
	)  
GO 

ALTER TABLE [dbo].[pub_info] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[pub_id] 
	)  
GO 

ALTER TABLE [dbo].[sales] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[stor_id],
		[ord_num],
		[title_id] 
	)  
GO 

ALTER TABLE [dbo].[titleauthor] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[au_id],
		[title_id] 
	)  
GO 

ALTER TABLE [dbo].[titles] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[title_id] 
	)  
GO 

