CREATE TYPE [Website].[SensorDataList] AS TABLE (
    [SensorDataListID] [int] NOT NULL,
    [ColdRoomSensorNumber] [int] NOT NULL,
    [RecordedWhen] [datetime2](7) NOT NULL,
    [Temperature] [decimal](10, 2) NOT NULL,
    PRIMARY KEY NONCLUSTERED HASH ([SensorDataListID]) WITH (BUCKET_COUNT = 16),
    INDEX [IX_SensorDataList_ColdRoomSensorNumber] NONCLUSTERED ([ColdRoomSensorNumber] ASC)
) WITH (MEMORY_OPTIMIZED = ON);
GO
