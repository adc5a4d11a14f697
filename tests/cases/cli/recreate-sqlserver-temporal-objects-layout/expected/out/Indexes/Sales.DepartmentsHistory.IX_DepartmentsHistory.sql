CREATE CLUSTERED INDEX [IX_DepartmentsHistory] ON [Sales].[DepartmentsHistory] ([SysEnd] ASC, [SysStart] ASC) WITH (DATA_COMPRESSION = PAGE);
GO
