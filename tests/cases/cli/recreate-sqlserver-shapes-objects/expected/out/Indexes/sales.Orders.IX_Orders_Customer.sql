CREATE NONCLUSTERED INDEX [IX_Orders_Customer] ON [sales].[Orders] ([CustomerId] ASC, [Amount] DESC) INCLUDE ([Status]) WITH (ALLOW_ROW_LOCKS = OFF);
GO
