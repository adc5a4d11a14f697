SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE PROCEDURE dbo.OrdersOf @CustomerID int AS SELECT OrderID, Placed FROM dbo.Orders WHERE CustomerID = @CustomerID
GO
