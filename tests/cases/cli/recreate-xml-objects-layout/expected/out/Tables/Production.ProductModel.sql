CREATE TABLE [Production].[ProductModel] (
    [ProductModelID] [int] IDENTITY(1, 1) NOT NULL,
    [Name] [nvarchar](50) NOT NULL,
    [CatalogDescription] [xml](CONTENT [Production].[ProductDescriptionSchemaCollection]) NULL,
    [Instructions] [xml](DOCUMENT [Production].[ManuInstructionsSchemaCollection]) NULL,
    CONSTRAINT [PK_ProductModel_ProductModelID] PRIMARY KEY CLUSTERED ([ProductModelID] ASC)
);
GO
