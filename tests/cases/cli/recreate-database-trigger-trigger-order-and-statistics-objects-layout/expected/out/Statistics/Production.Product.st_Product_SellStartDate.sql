CREATE STATISTICS [st_Product_SellStartDate] ON [Production].[Product] ([SellStartDate]);
GO
