ALTER TABLE [dbo].[Totals] WITH NOCHECK ADD CHECK ([Id]>(0)) 
GO

ALTER TABLE [archive].[Orders] WITH NOCHECK ADD CHECK ([Qty] > 0 AND [Note] <> 'it''s') 
GO

