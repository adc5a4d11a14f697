CREATE NONCLUSTERED INDEX [IX_Customer_Phone] ON [dbo].[Customer] ([Phone] ASC) INCLUDE ([Name]) WHERE ([Phone] IS NOT NULL) WITH (DATA_COMPRESSION = PAGE);
ALTER INDEX [IX_Customer_Phone] ON [dbo].[Customer] DISABLE;
GO
