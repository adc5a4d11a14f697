CREATE   INDEX [IX_Orders_CustomerId] ON [dbo].[Orders]([CustomerId], [Quantity]) ON [PRIMARY]
GO 

