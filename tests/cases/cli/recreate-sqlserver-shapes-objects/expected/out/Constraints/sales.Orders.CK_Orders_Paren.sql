ALTER TABLE [sales].[Orders] ADD CONSTRAINT [CK_Orders_Paren] CHECK ([Status]<>')(');
GO
