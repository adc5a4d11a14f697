ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD CHECK ([Price]>=(0)) 
GO

ALTER TABLE [sales].[Regions] WITH NOCHECK ADD CHECK (len([Code])=(2)) 
GO

