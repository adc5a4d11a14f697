ALTER TABLE [hr].[Employees] ADD CONSTRAINT [fk_employees_manager] FOREIGN KEY ([ManagerID]) REFERENCES [hr].[Employees] ([EmployeeID]);
GO
ALTER TABLE [hr].[Employees] ADD CONSTRAINT [fk_employees_region] FOREIGN KEY ([RegionID]) REFERENCES [dbo].[Region] ([RegionID]) ON DELETE SET NULL ON UPDATE CASCADE;
GO
ALTER TABLE [it's.odd].[Table.With "Quotes'] ADD CONSTRAINT [fk it's lines] FOREIGN KEY ([Line'No], [Region]) REFERENCES [Sales Dept].[order lines] ([LineNo], [RegionID]) ON DELETE CASCADE;
GO
ALTER TABLE [Sales Dept].[order lines] ADD CONSTRAINT [fk_order lines_employees] FOREIGN KEY ([EmployeeID]) REFERENCES [hr].[Employees] ([EmployeeID]) ON DELETE SET DEFAULT;
GO
