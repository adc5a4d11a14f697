CREATE SPATIAL INDEX [IX_Application_Cities_Location] ON [Application].[Cities] ([Location]) USING GEOGRAPHY_AUTO_GRID WITH (CELLS_PER_OBJECT = 12);
GO
