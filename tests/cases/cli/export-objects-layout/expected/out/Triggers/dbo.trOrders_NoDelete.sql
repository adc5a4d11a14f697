SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS OFF
GO 



CREATE TRIGGER dbo.trOrders_NoDelete ON dbo.Orders
INSTEAD OF DELETE
AS
	RAISERROR ('Orders are never deleted', 16, 1);
GO

