ALTER TABLE [my schema].[it's [a].b c] WITH NOCHECK ADD CHECK ([it's]>(0)) 
GO

