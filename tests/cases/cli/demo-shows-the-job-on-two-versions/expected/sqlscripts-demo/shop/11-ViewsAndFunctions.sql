SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW sales.OrderTotal AS
SELECT o.OrderId, o.CustomerId, SUM(l.Quantity * p.Price) AS Total
FROM sales.Orders AS o
JOIN sales.OrderLine AS l ON l.OrderId = o.OrderId
JOIN dbo.Product AS p ON p.ProductId = l.ProductId
GROUP BY o.OrderId, o.CustomerId;
GO
