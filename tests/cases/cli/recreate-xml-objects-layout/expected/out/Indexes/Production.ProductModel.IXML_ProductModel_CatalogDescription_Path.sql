CREATE XML INDEX [IXML_ProductModel_CatalogDescription_Path] ON [Production].[ProductModel] ([CatalogDescription]) USING XML INDEX [PXML_ProductModel_CatalogDescription] FOR PATH WITH (ALLOW_PAGE_LOCKS = OFF);
GO
