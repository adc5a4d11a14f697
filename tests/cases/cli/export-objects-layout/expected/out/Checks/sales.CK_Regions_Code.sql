ALTER TABLE [sales].[Regions] WITH NOCHECK ADD CHECK (len([Code])=(2)) 
GO

