SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Alphabetical list of products]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Alphabetical list of products] 
GO


CREATE VIEW [dbo].[Alphabetical list of products]
AS
-- not built on [Summary of Sales by Year]
SELECT ProductName, 'Summary of Sales by Year' AS Note, N'Invoices' AS Other /* "Invoices" */
FROM dbo.Products
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Cycle A]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Cycle A] 
GO


CREATE VIEW "Cycle A"
AS
SELECT Id FROM "Cycle B"
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Cycle B]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Cycle B] 
GO


CREATE VIEW [Cycle B]
AS
SELECT Id FROM dbo . [Cycle A]
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Order Subtotals]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Order Subtotals] 
GO


CREATE VIEW [Order Subtotals]
AS
SELECT OrderID, SUM(UnitPrice * Quantity) AS Subtotal
FROM dbo.[Order Details]
GROUP BY OrderID
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[sales].[Regions]', 'V') IS NOT NULL 
DROP VIEW [sales].[Regions] 
GO


CREATE VIEW sales.Regions
AS
SELECT Id, Name FROM sales.RegionTable
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[sales].[Orders]', 'V') IS NOT NULL 
DROP VIEW [sales].[Orders] 
GO


CREATE VIEW sales.Orders
AS
SELECT OrderID, R.Name AS Region FROM dbo.Orders JOIN Regions AS R ON R.Id = Orders.RegionId
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Invoices]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Invoices] 
GO


CREATE VIEW Invoices
AS
SELECT S.OrderID, S.Subtotal, O.Region
FROM [dbo].[order subtotals] AS S JOIN sales.Orders AS O ON O.OrderID = S.OrderID
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Say "Hi"]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Say "Hi"] 
GO


CREATE VIEW [Say "Hi"]
AS
SELECT 1 AS Id, 'Hi' AS Name, 'x' AS CategoryName, 'y' AS ProductName
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Product Sales for 1997]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Product Sales for 1997] 
GO


CREATE VIEW "Product Sales for 1997"
AS
SELECT CategoryName, ProductName, 1.5e3 AS ProductSales
FROM "Say ""Hi"""
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Category Sales for 1997]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Category Sales for 1997] 
GO


CREATE VIEW dbo.[Category Sales for 1997]
AS
SELECT CategoryName, SUM(ProductSales) AS CategorySales
FROM [Product Sales for 1997]
GROUP BY CategoryName
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Regions]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Regions] 
GO


CREATE VIEW dbo.Regions
AS
SELECT Id, Name FROM [Say "Hi"]
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Summary of Sales by Year]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Summary of Sales by Year] 
GO


CREATE VIEW [Summary of Sales by Year]
AS
SELECT OrderID, Subtotal FROM Northwind.dbo.Invoices
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[zz]bracket]', 'V') IS NOT NULL 
DROP VIEW [dbo].[zz]bracket] 
GO


CREATE VIEW [zz]]bracket]
AS
SELECT 1 AS Id
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Bracket user]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Bracket user] 
GO


CREATE VIEW [Bracket user]
AS
SELECT Id FROM [dbo].[zz]]bracket]
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
