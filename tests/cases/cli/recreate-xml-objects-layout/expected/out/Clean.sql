DROP PROCEDURE IF EXISTS [Production].[uspSetInstructions];
GO
IF OBJECT_ID(N'[Production].[ProductModel]', N'U') IS NOT NULL DROP INDEX IF EXISTS [IXML_ProductModel_Instructions_Property] ON [Production].[ProductModel];
GO
IF OBJECT_ID(N'[Production].[ProductModel]', N'U') IS NOT NULL DROP INDEX IF EXISTS [PXML_ProductModel_Instructions] ON [Production].[ProductModel];
GO
IF OBJECT_ID(N'[Production].[ProductModel]', N'U') IS NOT NULL DROP INDEX IF EXISTS [IXML_ProductModel_CatalogDescription_Path] ON [Production].[ProductModel];
GO
IF OBJECT_ID(N'[Production].[ProductModel]', N'U') IS NOT NULL DROP INDEX IF EXISTS [PXML_ProductModel_CatalogDescription] ON [Production].[ProductModel];
GO
DROP TABLE IF EXISTS [Production].[ProductModel];
GO
DROP TABLE IF EXISTS [Production].[Illustration];
GO
DROP TYPE IF EXISTS [Production].[InstructionsList];
GO
IF EXISTS (SELECT 1 FROM sys.xml_schema_collections WHERE schema_id = SCHEMA_ID(N'Production') AND name = N'ProductDescriptionSchemaCollection') DROP XML SCHEMA COLLECTION [Production].[ProductDescriptionSchemaCollection];
GO
IF EXISTS (SELECT 1 FROM sys.xml_schema_collections WHERE schema_id = SCHEMA_ID(N'Production') AND name = N'ManuInstructionsSchemaCollection') DROP XML SCHEMA COLLECTION [Production].[ManuInstructionsSchemaCollection];
GO
DROP SCHEMA IF EXISTS [Production];
GO
