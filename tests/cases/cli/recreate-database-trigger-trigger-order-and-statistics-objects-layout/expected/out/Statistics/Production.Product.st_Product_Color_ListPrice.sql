CREATE STATISTICS [st_Product_Color_ListPrice] ON [Production].[Product] ([Color], [ListPrice]) WHERE ([Color] IS NOT NULL) WITH NORECOMPUTE;
GO
