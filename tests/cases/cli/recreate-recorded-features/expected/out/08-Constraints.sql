ALTER TABLE [hr].[Employees] ADD CONSTRAINT [ck_employees_names] CHECK ((firstname <> lastname));
GO
ALTER TABLE [hr].[Employees] ADD CONSTRAINT [ck_employees_rating] CHECK (((rating >= 0) AND (rating <= 10)));
GO
ALTER TABLE [Sales Dept].[order lines] ADD CONSTRAINT [ck_order lines_qty] CHECK ((qty > 0));
GO
