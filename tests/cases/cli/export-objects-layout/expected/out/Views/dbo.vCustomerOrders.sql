SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[vCustomerOrders]', 'V') IS NOT NULL 
DROP VIEW [dbo].[vCustomerOrders] 
GO


CREATE VIEW dbo.vCustomerOrders
AS
SELECT C.Name, O.Id AS OrderId, O.Total
FROM dbo.Customers C
JOIN dbo.Orders O ON O.CustomerId = C.Id
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
