CREATE  CLUSTERED INDEX [IX_Regions_Name] ON [sales].[Regions]([Name]) ON [PRIMARY]
GO 

