CREATE UNIQUE  INDEX [UQ_Customers_Email] ON [dbo].[Customers]([Email])  WITH  FILLFACTOR = 80 ON [PRIMARY]
GO 

