DROP PROCEDURE IF EXISTS [Website].[RecordColdRoomTemperatures];
GO
DROP TABLE IF EXISTS [Warehouse].[ColdRoomTemperatures];
GO
DROP TABLE IF EXISTS [Sales].[ShoppingCarts];
GO
DROP TYPE IF EXISTS [Website].[SensorDataList];
GO
DROP SCHEMA IF EXISTS [Website];
GO
DROP SCHEMA IF EXISTS [Warehouse];
GO
DROP SCHEMA IF EXISTS [Sales];
GO
