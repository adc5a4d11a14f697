CREATE NONCLUSTERED INDEX [IX_Customer_Phone] ON [dbo].[Customer] ([Phone] ASC) INCLUDE ([Name]) WHERE ([Phone] IS NOT NULL) WITH (DATA_COMPRESSION = PAGE);
ALTER INDEX [IX_Customer_Phone] ON [dbo].[Customer] DISABLE;
GO
CREATE UNIQUE NONCLUSTERED INDEX [UX_Customer_Guid] ON [dbo].[Customer] ([Guid] ASC);
GO
CREATE NONCLUSTERED INDEX [IX_Orders_Customer] ON [sales].[Orders] ([CustomerId] ASC, [Amount] DESC) INCLUDE ([Status]) WITH (ALLOW_ROW_LOCKS = OFF);
GO
