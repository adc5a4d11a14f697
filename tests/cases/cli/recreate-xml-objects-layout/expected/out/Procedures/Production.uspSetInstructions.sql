SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE PROCEDURE [Production].[uspSetInstructions]
    @ProductModelID int,
    @Instructions xml(DOCUMENT [Production].[ManuInstructionsSchemaCollection])
AS
UPDATE [Production].[ProductModel] SET [Instructions] = @Instructions WHERE [ProductModelID] = @ProductModelID;
GO
