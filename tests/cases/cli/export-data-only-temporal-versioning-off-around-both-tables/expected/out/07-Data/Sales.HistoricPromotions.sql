IF OBJECTPROPERTY(OBJECT_ID(N'[Sales].[Promotions]'), 'TableTemporalType') = 2 ALTER TABLE [Sales].[Promotions] SET (SYSTEM_VERSIONING = OFF);
GO
INSERT INTO [Sales].[HistoricPromotions] ([ID], [Name], [ValidFrom], [ValidTo]) VALUES
(1, 'Spring', '2024-01-15T08:30:00', '2024-03-01T00:00:00');
GO
