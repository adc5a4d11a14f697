SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE PROCEDURE [Website].[RecordColdRoomTemperatures]
@SensorReadings [Website].[SensorDataList] READONLY
WITH NATIVE_COMPILATION, SCHEMABINDING, EXECUTE AS OWNER
AS
BEGIN ATOMIC WITH
(
	TRANSACTION ISOLATION LEVEL = SNAPSHOT,
	LANGUAGE = N'English'
)
    INSERT INTO [Warehouse].[ColdRoomTemperatures] ([ColdRoomSensorNumber], [RecordedWhen], [Temperature])
    SELECT [ColdRoomSensorNumber], [RecordedWhen], [Temperature] FROM @SensorReadings;
END;
GO
