ALTER TABLE [dbo].[Customer] ADD CONSTRAINT [CK_Customer_Name] CHECK ([Name]<>N'');
GO
ALTER TABLE [dbo].[Customer] WITH NOCHECK ADD CONSTRAINT [CK_Customer_Valid] CHECK NOT FOR REPLICATION ([dbo].[fnIsValid]([CustomerId])=(1));
ALTER TABLE [dbo].[Customer] NOCHECK CONSTRAINT [CK_Customer_Valid];
GO
ALTER TABLE [dbo].[Token] ADD CONSTRAINT [DF_Token_Code] DEFAULT ([dbo].[fnNextToken]()) FOR [Code];
GO
ALTER TABLE [sales].[Orders] ADD CONSTRAINT [CK_Orders_Paren] CHECK ([Status]<>')(');
GO
ALTER TABLE [sales].[Orders] ADD CONSTRAINT [CK_Orders_Status] CHECK (([Status]='N') OR ([Status]='P'));
GO
