CREATE   INDEX [IX_OrderLines_Product] ON [dbo].[OrderLines]([ProductId]) ON [PRIMARY]
GO 

CREATE   INDEX [IX_Orders_Date] ON [dbo].[Orders]([OrderDate])  WITH  FILLFACTOR = 90 ON [PRIMARY]
GO 

CREATE UNIQUE  INDEX [UQ_Products_Code] ON [dbo].[Products]([Code]) ON [FG_Index]
GO 

CREATE UNIQUE CLUSTERED INDEX [UX_Events_Time] ON [log].[Events]([EventId], [EventTime]) ON [PRIMARY]
GO 

