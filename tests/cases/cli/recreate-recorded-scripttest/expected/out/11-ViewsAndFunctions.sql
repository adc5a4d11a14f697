SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW dbo.vActiveCustomers
AS
SELECT CustomerId, Name, Email FROM dbo.Customer WHERE IsActive = 1
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW dbo.vCustomerOrders
AS
SELECT c.CustomerId, c.Name, o.OrderId, o.OrderDate, o.Total
FROM dbo.Customer c
JOIN dbo.Orders o ON o.CustomerId = c.CustomerId
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW sales.vRegions AS SELECT RegionId, RegionName FROM sales.Region
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE FUNCTION dbo.fn_CustomerOrders (@CustomerId int)
RETURNS TABLE
AS
RETURN (SELECT OrderId, OrderDate, Total FROM dbo.Orders WHERE CustomerId = @CustomerId)
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE FUNCTION dbo.fn_OrderTotal (@OrderId bigint)
RETURNS decimal(19, 4)
AS
BEGIN
    DECLARE @t decimal(19, 4);
    SELECT @t = SUM(Amount) FROM dbo.OrderLine WHERE OrderId = @OrderId;
    RETURN ISNULL(@t, 0);
END
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE FUNCTION dbo.fn_TopCustomers (@n int)
RETURNS @r TABLE (CustomerId int, Name nvarchar(20))
AS
BEGIN
    INSERT INTO @r SELECT TOP (@n) CustomerId, Name FROM dbo.Customer ORDER BY Balance DESC;
    RETURN;
END
GO
