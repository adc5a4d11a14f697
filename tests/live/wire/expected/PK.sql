ALTER TABLE [dbo].[Commandes_Größe] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[Numéro] 
	)  
GO 

