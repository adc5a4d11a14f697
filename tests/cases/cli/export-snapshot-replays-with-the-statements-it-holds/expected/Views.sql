SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[vActiveCustomers]', 'V') IS NOT NULL 
DROP VIEW [dbo].[vActiveCustomers] 
GO


CREATE VIEW dbo.vActiveCustomers
AS
SELECT CustomerId, Name, Email FROM dbo.Customer WHERE IsActive = 1
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[vCustomerOrders]', 'V') IS NOT NULL 
DROP VIEW [dbo].[vCustomerOrders] 
GO


CREATE VIEW dbo.vCustomerOrders
AS
SELECT c.CustomerId, c.Name, o.OrderId, o.OrderDate, o.Total
FROM dbo.Customer c
JOIN dbo.Orders o ON o.CustomerId = c.CustomerId
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[sales].[vRegions]', 'V') IS NOT NULL 
DROP VIEW [sales].[vRegions] 
GO


CREATE VIEW sales.vRegions AS SELECT RegionId, RegionName FROM sales.Region
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
