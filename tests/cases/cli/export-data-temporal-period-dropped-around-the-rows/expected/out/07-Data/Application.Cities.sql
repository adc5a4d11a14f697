ALTER TABLE [Application].[Cities] DROP PERIOD FOR SYSTEM_TIME;
GO
INSERT INTO [Application].[Cities] ([CityID], [CityName], [LatestRecordedPopulation], [ValidFrom], [ValidTo]) VALUES
(1, 'Aaronsburg', 613, '2013-01-01T00:00:00.0000000', '9999-12-31T23:59:59.9999999'),
(2, 'Abbeville', 2437, '2015-07-01T16:00:00.1234567', '9999-12-31T23:59:59.9999999');
GO
ALTER TABLE [Application].[Cities] ADD PERIOD FOR SYSTEM_TIME ([ValidFrom], [ValidTo]);
GO
