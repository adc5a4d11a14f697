CREATE SYNONYM [dbo].[Ticket] FOR [sales].[Ticket];
GO
