CREATE TABLE [Sales].[DepartmentsHistory] (
    [DeptID] [int] NOT NULL,
    [DeptName] [nvarchar](50) NOT NULL,
    [Budget] [decimal](18, 2) NULL,
    [SysStart] [datetime2](2) NOT NULL,
    [SysEnd] [datetime2](2) NOT NULL
);
GO
