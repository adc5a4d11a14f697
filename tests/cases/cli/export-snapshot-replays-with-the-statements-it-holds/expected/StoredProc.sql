SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[usp_GetCustomerOrders]', 'P') IS NOT NULL 
DROP PROCEDURE [dbo].[usp_GetCustomerOrders] 
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

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
