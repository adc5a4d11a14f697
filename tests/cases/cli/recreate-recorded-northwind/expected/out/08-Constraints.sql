ALTER TABLE [dbo].[Employees] ADD CONSTRAINT [ck_birthdate] CHECK ((birthdate < getdate()));
GO
ALTER TABLE [dbo].[Order Details] ADD CONSTRAINT [ck_discount] CHECK (((discount >= 0) AND (discount <= 1)));
GO
ALTER TABLE [dbo].[Order Details] ADD CONSTRAINT [ck_quantity] CHECK ((quantity > 0));
GO
ALTER TABLE [dbo].[Order Details] ADD CONSTRAINT [ck_unitprice] CHECK ((unitprice >= 0));
GO
ALTER TABLE [dbo].[Products] ADD CONSTRAINT [ck_products_unitprice] CHECK ((unitprice >= 0));
GO
ALTER TABLE [dbo].[Products] ADD CONSTRAINT [ck_reorderlevel] CHECK ((reorderlevel >= 0));
GO
ALTER TABLE [dbo].[Products] ADD CONSTRAINT [ck_unitsinstock] CHECK ((unitsinstock >= 0));
GO
ALTER TABLE [dbo].[Products] ADD CONSTRAINT [ck_unitsonorder] CHECK ((unitsonorder >= 0));
GO
