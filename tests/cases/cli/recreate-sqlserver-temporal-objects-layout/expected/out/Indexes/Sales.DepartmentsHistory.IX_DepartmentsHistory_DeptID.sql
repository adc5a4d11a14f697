CREATE NONCLUSTERED INDEX [IX_DepartmentsHistory_DeptID] ON [Sales].[DepartmentsHistory] ([DeptID] ASC);
GO
