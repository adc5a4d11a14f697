IF OBJECTPROPERTY(OBJECT_ID(N'[Sales].[Departments]'), 'TableTemporalType') = 2 ALTER TABLE [Sales].[Departments] SET (SYSTEM_VERSIONING = OFF);
GO
ALTER TABLE [Sales].[Departments] DROP PERIOD FOR SYSTEM_TIME;
GO
INSERT INTO [Sales].[Departments] ([DeptID], [DeptName], [Budget], [SysStart], [SysEnd]) VALUES
(10, 'Marketing', 125000.00, '2021-03-04T10:11:12.12', '9999-12-31T23:59:59.99');
GO
ALTER TABLE [Sales].[Departments] ADD PERIOD FOR SYSTEM_TIME ([SysStart], [SysEnd]);
IF EXISTS (SELECT 1 FROM sys.columns WHERE object_id = OBJECT_ID(N'[Sales].[Departments]') AND name = N'SysStart' AND is_hidden = 0) ALTER TABLE [Sales].[Departments] ALTER COLUMN [SysStart] ADD HIDDEN;
IF EXISTS (SELECT 1 FROM sys.columns WHERE object_id = OBJECT_ID(N'[Sales].[Departments]') AND name = N'SysEnd' AND is_hidden = 0) ALTER TABLE [Sales].[Departments] ALTER COLUMN [SysEnd] ADD HIDDEN;
GO
