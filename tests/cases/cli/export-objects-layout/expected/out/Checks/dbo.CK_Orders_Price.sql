ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD CHECK ([Price]>=(0)) 
GO

