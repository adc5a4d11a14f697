IF OBJECTPROPERTY(OBJECT_ID(N'[Sales].[Promotions]'), 'TableTemporalType') = 2 ALTER TABLE [Sales].[Promotions] SET (SYSTEM_VERSIONING = OFF);
GO
IF OBJECTPROPERTY(OBJECT_ID(N'[Sales].[Departments]'), 'TableTemporalType') = 2 ALTER TABLE [Sales].[Departments] SET (SYSTEM_VERSIONING = OFF);
GO
IF OBJECTPROPERTY(OBJECT_ID(N'[Application].[Cities]'), 'TableTemporalType') = 2 ALTER TABLE [Application].[Cities] SET (SYSTEM_VERSIONING = OFF);
GO
IF OBJECT_ID(N'[Sales].[HistoricPromotions]', N'U') IS NOT NULL DROP INDEX IF EXISTS [ix_HistoricPromotions] ON [Sales].[HistoricPromotions];
GO
IF OBJECT_ID(N'[Sales].[DepartmentsHistory]', N'U') IS NOT NULL DROP INDEX IF EXISTS [IX_DepartmentsHistory_DeptID] ON [Sales].[DepartmentsHistory];
GO
IF OBJECT_ID(N'[Sales].[DepartmentsHistory]', N'U') IS NOT NULL DROP INDEX IF EXISTS [IX_DepartmentsHistory] ON [Sales].[DepartmentsHistory];
GO
IF OBJECT_ID(N'[Application].[Cities_Archive]', N'U') IS NOT NULL DROP INDEX IF EXISTS [ix_Cities_Archive] ON [Application].[Cities_Archive];
GO
IF OBJECTPROPERTY(OBJECT_ID(N'[Sales].[Promotions]'), 'TableTemporalType') = 2 ALTER TABLE [Sales].[Promotions] SET (SYSTEM_VERSIONING = OFF);
DROP TABLE IF EXISTS [Sales].[Promotions];
GO
DROP TABLE IF EXISTS [Sales].[HistoricPromotions];
GO
DROP TABLE IF EXISTS [Sales].[DepartmentsHistory];
GO
IF OBJECTPROPERTY(OBJECT_ID(N'[Sales].[Departments]'), 'TableTemporalType') = 2 ALTER TABLE [Sales].[Departments] SET (SYSTEM_VERSIONING = OFF);
DROP TABLE IF EXISTS [Sales].[Departments];
GO
DROP TABLE IF EXISTS [Application].[Cities_Archive];
GO
IF OBJECTPROPERTY(OBJECT_ID(N'[Application].[Cities]'), 'TableTemporalType') = 2 ALTER TABLE [Application].[Cities] SET (SYSTEM_VERSIONING = OFF);
DROP TABLE IF EXISTS [Application].[Cities];
GO
DROP SCHEMA IF EXISTS [Sales];
GO
DROP SCHEMA IF EXISTS [Application];
GO
