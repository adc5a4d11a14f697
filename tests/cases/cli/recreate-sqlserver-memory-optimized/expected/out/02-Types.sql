IF NOT EXISTS (SELECT 1 FROM sys.filegroups WHERE name = N'WWI_InMemory_Data') ALTER DATABASE CURRENT ADD FILEGROUP [WWI_InMemory_Data] CONTAINS MEMORY_OPTIMIZED_DATA;
GO
DECLARE @file nvarchar(max) = REPLACE(CAST(SERVERPROPERTY('InstanceDefaultDataPath') AS nvarchar(max)) + DB_NAME() + N'_WWI_InMemory_Data_1', N'''', N'''''');
IF NOT EXISTS (SELECT 1 FROM sys.database_files WHERE name = N'WWI_InMemory_Data_1') EXEC (N'ALTER DATABASE CURRENT ADD FILE (NAME = N''WWI_InMemory_Data_1'', FILENAME = N''' + @file + N''') TO FILEGROUP [WWI_InMemory_Data];');
GO
CREATE TYPE [Website].[SensorDataList] AS TABLE (
    [SensorDataListID] [int] NOT NULL,
    [ColdRoomSensorNumber] [int] NOT NULL,
    [RecordedWhen] [datetime2](7) NOT NULL,
    [Temperature] [decimal](10, 2) NOT NULL,
    PRIMARY KEY NONCLUSTERED HASH ([SensorDataListID]) WITH (BUCKET_COUNT = 16),
    INDEX [IX_SensorDataList_ColdRoomSensorNumber] NONCLUSTERED ([ColdRoomSensorNumber] ASC)
) WITH (MEMORY_OPTIMIZED = ON);
GO
