INSERT INTO [Application].[Cities_Archive] ([CityID], [CityName], [LatestRecordedPopulation], [ValidFrom], [ValidTo]) VALUES
(2, 'Abbeville', 2200, '2013-01-01T00:00:00.0000000', '2015-07-01T16:00:00.1234567');
GO
