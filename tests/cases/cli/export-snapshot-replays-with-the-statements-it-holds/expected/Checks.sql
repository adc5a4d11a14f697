ALTER TABLE [dbo].[Customer] WITH NOCHECK ADD CHECK ((balance >= 0)) 
GO

ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD CHECK ((quantity > 0)) 
GO

ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD CHECK ((status IN ('N', 'P', 'S', 'C'))) 
GO

