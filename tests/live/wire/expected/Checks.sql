ALTER TABLE [dbo].[Commandes_Größe] WITH NOCHECK ADD CHECK (("prix_€" >= 0)) 
GO

ALTER TABLE [dbo].[Counters] WITH NOCHECK ADD CHECK ((note <> CAST(('{LongLiteral}') AS nvarchar))) 
GO

