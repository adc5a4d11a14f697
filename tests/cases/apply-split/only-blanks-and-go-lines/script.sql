
   
GO
	
GO 5
GO
