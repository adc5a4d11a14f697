-- Tables and a column that renames-renamed.sql's database holds under other names (lower-case, as this
-- server keeps the names sp_rename gives), with rows, and what uses them: a check, a foreign key, a view and
-- a procedure.
CREATE TABLE [dbo].[customers] ([customerid] int NOT NULL CONSTRAINT [pk_customers] PRIMARY KEY, [name] nvarchar(50) NULL)
GO
CREATE TABLE [dbo].[orders] ([orderid] int NOT NULL CONSTRAINT [pk_orders] PRIMARY KEY, [customerid] int NOT NULL CONSTRAINT [fk_orders_customers] REFERENCES [dbo].[customers] ([customerid]), [amount] decimal(19, 4) NOT NULL CONSTRAINT [ck_orders_amount] CHECK ([amount] >= 0), [note] nvarchar(20) NULL)
GO
CREATE VIEW [dbo].[vbig] AS SELECT [orderid], [amount] FROM [dbo].[orders] WHERE [amount] > 10
GO
CREATE PROCEDURE [dbo].[ptotal] AS SELECT SUM([amount]) AS [total] FROM [dbo].[orders]
GO
INSERT INTO [dbo].[customers] ([customerid], [name]) VALUES (1, N'Ann'), (2, N'Bob')
GO
INSERT INTO [dbo].[orders] ([orderid], [customerid], [amount], [note]) VALUES (10, 1, 5.5, N'first'), (11, 2, 20, N'second'), (12, 1, 30, NULL)
GO
