ALTER TABLE [dbo].[Product] ADD CONSTRAINT [ck_product_price] CHECK ((price >= 0));
GO
ALTER TABLE [sales].[OrderLine] ADD CONSTRAINT [ck_orderline_quantity] CHECK ((quantity > 0));
GO
