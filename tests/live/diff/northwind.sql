-- Changes made to a recreated copy of northwind, rows first; the copy is migrated back by sqlscripts diff.
INSERT INTO [dbo].[Region] ([RegionID], [RegionDescription]) VALUES (5, N'Central'), (6, N'Pacific')
GO
INSERT INTO [dbo].[Shippers] ([CompanyName], [Phone]) VALUES (N'Speedy Express', N'(503) 555-9831')
GO
ALTER TABLE [dbo].[Shippers] ALTER COLUMN [Phone] nvarchar(48)
GO
ALTER TABLE [dbo].[Region] ADD [Manager] nvarchar(30) NULL
GO
CREATE INDEX [ix_region_description] ON [dbo].[Region] ([RegionDescription])
GO
CREATE VIEW [dbo].[Shipper Phones] AS SELECT [CompanyName], [Phone] FROM [dbo].[Shippers]
GO
DROP PROCEDURE [dbo].[CustOrderHist]
GO
CREATE PROCEDURE [dbo].[CustOrderHist] @CustomerID nchar(5) AS
SELECT [ProductName], SUM([Quantity]) AS [Total] FROM [dbo].[Products] P, [dbo].[Order Details] OD, [dbo].[Orders] O, [dbo].[Customers] C
WHERE C.[CustomerID] = @CustomerID AND C.[CustomerID] = O.[CustomerID] AND O.[OrderID] = OD.[OrderID] AND OD.[ProductID] = P.[ProductID]
GROUP BY [ProductName]
GO
