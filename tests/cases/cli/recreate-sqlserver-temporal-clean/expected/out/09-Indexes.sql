CREATE CLUSTERED INDEX [ix_Cities_Archive] ON [Application].[Cities_Archive] ([ValidTo] ASC, [ValidFrom] ASC) WITH (DATA_COMPRESSION = PAGE);
GO
CREATE CLUSTERED INDEX [IX_DepartmentsHistory] ON [Sales].[DepartmentsHistory] ([SysEnd] ASC, [SysStart] ASC) WITH (DATA_COMPRESSION = PAGE);
GO
CREATE NONCLUSTERED INDEX [IX_DepartmentsHistory_DeptID] ON [Sales].[DepartmentsHistory] ([DeptID] ASC);
GO
CREATE CLUSTERED INDEX [ix_HistoricPromotions] ON [Sales].[HistoricPromotions] ([ValidTo] ASC, [ValidFrom] ASC) WITH (DATA_COMPRESSION = PAGE);
GO
ALTER TABLE [Application].[Cities] SET (SYSTEM_VERSIONING = ON (HISTORY_TABLE = [Application].[Cities_Archive], DATA_CONSISTENCY_CHECK = ON, HISTORY_RETENTION_PERIOD = INFINITE));
GO
ALTER TABLE [Sales].[Departments] SET (SYSTEM_VERSIONING = ON (HISTORY_TABLE = [Sales].[DepartmentsHistory], DATA_CONSISTENCY_CHECK = ON, HISTORY_RETENTION_PERIOD = 6 MONTHS));
GO
ALTER TABLE [Sales].[Promotions] SET (SYSTEM_VERSIONING = ON (HISTORY_TABLE = [Sales].[HistoricPromotions], DATA_CONSISTENCY_CHECK = ON, HISTORY_RETENTION_PERIOD = 1 YEAR));
GO
