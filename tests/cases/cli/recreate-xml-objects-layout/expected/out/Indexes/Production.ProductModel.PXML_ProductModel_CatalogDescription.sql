CREATE PRIMARY XML INDEX [PXML_ProductModel_CatalogDescription] ON [Production].[ProductModel] ([CatalogDescription]) WITH (PAD_INDEX = ON, FILLFACTOR = 80);
GO
