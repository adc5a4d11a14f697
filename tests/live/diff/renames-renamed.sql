-- renames.sql's database with dbo.orders renamed sales, its column amount renamed price and dbo.customers
-- renamed clients, and what uses them naming the new names.
CREATE TABLE [dbo].[clients] ([customerid] int NOT NULL CONSTRAINT [pk_customers] PRIMARY KEY, [name] nvarchar(50) NULL)
GO
CREATE TABLE [dbo].[sales] ([orderid] int NOT NULL CONSTRAINT [pk_orders] PRIMARY KEY, [customerid] int NOT NULL CONSTRAINT [fk_orders_customers] REFERENCES [dbo].[clients] ([customerid]), [price] decimal(19, 4) NOT NULL CONSTRAINT [ck_orders_amount] CHECK ([price] >= 0), [note] nvarchar(20) NULL)
GO
CREATE VIEW [dbo].[vbig] AS SELECT [orderid], [price] FROM [dbo].[sales] WHERE [price] > 10
GO
CREATE PROCEDURE [dbo].[ptotal] AS SELECT SUM([price]) AS [total] FROM [dbo].[sales]
GO
