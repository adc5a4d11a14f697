SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE PROCEDURE dbo.usp_GetCustomerOrders
    @CustomerId int,
    @From datetime = NULL
AS
BEGIN
    SET NOCOUNT ON;
    SELECT OrderId, OrderDate, Total
    FROM dbo.Orders
    WHERE CustomerId = @CustomerId AND (@From IS NULL OR OrderDate >= @From)
    ORDER BY OrderDate;
END
GO
