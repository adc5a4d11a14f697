INSERT INTO [Sales].[DepartmentsHistory] ([DeptID], [DeptName], [Budget], [SysStart], [SysEnd]) VALUES
(10, 'Sales', 90000.00, '2020-01-01T00:00:00.00', '2021-03-04T10:11:12.12');
GO
ALTER TABLE [Sales].[Departments] SET (SYSTEM_VERSIONING = ON (HISTORY_TABLE = [Sales].[DepartmentsHistory], DATA_CONSISTENCY_CHECK = ON, HISTORY_RETENTION_PERIOD = 6 MONTHS));
GO
