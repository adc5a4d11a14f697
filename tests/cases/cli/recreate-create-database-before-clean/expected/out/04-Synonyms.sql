CREATE SYNONYM [dbo].[Cust] FOR [dbo].[Customer];
GO
CREATE SYNONYM [dbo].[Ticket] FOR [sales].[Ticket];
GO
