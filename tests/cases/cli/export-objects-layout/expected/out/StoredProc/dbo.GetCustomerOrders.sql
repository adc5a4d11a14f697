SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[GetCustomerOrders]', 'P') IS NOT NULL 
DROP PROCEDURE [dbo].[GetCustomerOrders] 
GO


CREATE PROCEDURE dbo.GetCustomerOrders @CustomerId int
AS
BEGIN
	SET NOCOUNT ON;
	SELECT Id, Quantity, Price, Total FROM dbo.Orders WHERE CustomerId = @CustomerId;
END
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
