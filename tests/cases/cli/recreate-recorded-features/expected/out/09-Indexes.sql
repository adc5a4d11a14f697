CREATE NONCLUSTERED INDEX [ix_audit log_when] ON [dbo].[Audit Log] ([When] ASC);
GO
CREATE NONCLUSTERED INDEX [cx_order_to] ON [dbo].[Order] ([To] DESC);
GO
CREATE NONCLUSTERED INDEX [ix_employees_name] ON [hr].[Employees] ([LastName] ASC, [FirstName] DESC) INCLUDE ([Email]);
GO
CREATE NONCLUSTERED INDEX [ix it's.odd] ON [it's.odd].[Table.With "Quotes'] ([a.b c] DESC, [Select] ASC);
GO
CREATE UNIQUE NONCLUSTERED INDEX [ix_order lines_when] ON [Sales Dept].[order lines] ([When] DESC, [Qty] ASC) INCLUDE ([Price], [Code]) WITH (PAD_INDEX = ON);
GO
