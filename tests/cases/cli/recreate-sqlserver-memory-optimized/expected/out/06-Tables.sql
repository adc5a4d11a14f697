CREATE TABLE [Sales].[ShoppingCarts] (
    [CartID] [int] NOT NULL,
    [CustomerID] [int] NOT NULL,
    [Created] [datetime2](7) NOT NULL,
    CONSTRAINT [PK_Sales_ShoppingCarts] PRIMARY KEY NONCLUSTERED HASH ([CartID]) WITH (BUCKET_COUNT = 1048576)
) WITH (MEMORY_OPTIMIZED = ON, DURABILITY = SCHEMA_ONLY);
GO
CREATE TABLE [Warehouse].[ColdRoomTemperatures] (
    [ColdRoomTemperatureID] [bigint] IDENTITY(1, 1) NOT NULL,
    [ColdRoomSensorNumber] [int] NOT NULL,
    [RecordedWhen] [datetime2](7) NOT NULL,
    [Temperature] [decimal](10, 2) NOT NULL,
    CONSTRAINT [PK_Warehouse_ColdRoomTemperatures] PRIMARY KEY NONCLUSTERED ([ColdRoomTemperatureID] ASC),
    INDEX [IX_Warehouse_ColdRoomTemperatures_ColdRoomSensorNumber] NONCLUSTERED ([ColdRoomSensorNumber] ASC, [RecordedWhen] DESC),
    INDEX [IX_Warehouse_ColdRoomTemperatures_RecordedWhen] NONCLUSTERED HASH ([RecordedWhen]) WITH (BUCKET_COUNT = 131072)
) WITH (MEMORY_OPTIMIZED = ON, DURABILITY = SCHEMA_AND_DATA);
GO
