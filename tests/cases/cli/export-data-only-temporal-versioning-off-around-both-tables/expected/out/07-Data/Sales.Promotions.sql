ALTER TABLE [Sales].[Promotions] DROP PERIOD FOR SYSTEM_TIME;
GO
INSERT INTO [Sales].[Promotions] ([ID], [Name], [ValidFrom], [ValidTo]) VALUES
(1, 'Spring sale', '2024-03-01T00:00:00', '9999-12-31T23:59:59');
GO
ALTER TABLE [Sales].[Promotions] ADD PERIOD FOR SYSTEM_TIME ([ValidFrom], [ValidTo]);
GO
ALTER TABLE [Sales].[Promotions] SET (SYSTEM_VERSIONING = ON (HISTORY_TABLE = [Sales].[HistoricPromotions], DATA_CONSISTENCY_CHECK = ON, HISTORY_RETENTION_PERIOD = 1 YEAR));
GO
