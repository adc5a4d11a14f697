SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE TRIGGER sales.trOrders ON sales.Orders AFTER INSERT AS SET NOCOUNT ON -- nothing else
GO
DISABLE TRIGGER [sales].[trOrders] ON [sales].[Orders];
GO
