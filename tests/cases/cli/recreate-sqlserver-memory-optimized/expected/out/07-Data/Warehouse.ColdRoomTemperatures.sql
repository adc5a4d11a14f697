SET IDENTITY_INSERT [Warehouse].[ColdRoomTemperatures] ON;
GO
INSERT INTO [Warehouse].[ColdRoomTemperatures] ([ColdRoomTemperatureID], [ColdRoomSensorNumber], [RecordedWhen], [Temperature]) VALUES
(1, 1, '2016-05-31T23:00:00.0000000', 3.50),
(2, 2, '2016-05-31T23:00:05.1234567', -1.25);
GO
SET IDENTITY_INSERT [Warehouse].[ColdRoomTemperatures] OFF;
GO
