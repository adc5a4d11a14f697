ALTER TABLE [sales].[Orders] ADD CONSTRAINT [CK_Orders_Status] CHECK (([Status]='N') OR ([Status]='P'));
GO
