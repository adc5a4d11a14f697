ALTER TABLE [dbo].[Customer] ADD CONSTRAINT [CK_Customer_Name] CHECK ([Name]<>N'');
GO
