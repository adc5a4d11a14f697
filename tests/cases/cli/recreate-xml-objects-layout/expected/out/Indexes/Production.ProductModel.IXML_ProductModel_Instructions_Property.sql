CREATE XML INDEX [IXML_ProductModel_Instructions_Property] ON [Production].[ProductModel] ([Instructions]) USING XML INDEX [PXML_ProductModel_Instructions] FOR PROPERTY;
GO
