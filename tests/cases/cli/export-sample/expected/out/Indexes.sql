CREATE   INDEX [IX_Orders_CustomerId] ON [dbo].[Orders]([CustomerId], [Quantity]) ON [PRIMARY]
GO 

CREATE  CLUSTERED INDEX [IX_Regions_Name] ON [sales].[Regions]([Name]) ON [PRIMARY]
GO 

CREATE UNIQUE  INDEX [UQ_Customers_Email] ON [dbo].[Customers]([Email])  WITH  FILLFACTOR = 80 ON [PRIMARY]
GO 

