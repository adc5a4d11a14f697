CREATE SYNONYM [dbo].[Cust] FOR [dbo].[Customer];
GO
