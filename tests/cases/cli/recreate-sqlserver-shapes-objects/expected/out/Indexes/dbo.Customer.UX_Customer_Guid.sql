CREATE UNIQUE NONCLUSTERED INDEX [UX_Customer_Guid] ON [dbo].[Customer] ([Guid] ASC);
GO
