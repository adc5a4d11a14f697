CREATE CLUSTERED INDEX [ix_Cities_Archive] ON [Application].[Cities_Archive] ([ValidTo] ASC, [ValidFrom] ASC) WITH (DATA_COMPRESSION = PAGE);
GO
ALTER TABLE [Application].[Cities] SET (SYSTEM_VERSIONING = ON (HISTORY_TABLE = [Application].[Cities_Archive], DATA_CONSISTENCY_CHECK = ON, HISTORY_RETENTION_PERIOD = INFINITE));
GO
