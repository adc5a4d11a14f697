CREATE TABLE [Sales].[Departments] (
    [DeptID] [int] NOT NULL,
    [DeptName] [nvarchar](50) NOT NULL,
    [Budget] [decimal](18, 2) NULL,
    [SysStart] [datetime2](2) GENERATED ALWAYS AS ROW START HIDDEN NOT NULL,
    [SysEnd] [datetime2](2) GENERATED ALWAYS AS ROW END HIDDEN NOT NULL,
    CONSTRAINT [PK_Sales_Departments] PRIMARY KEY CLUSTERED ([DeptID] ASC),
    PERIOD FOR SYSTEM_TIME ([SysStart], [SysEnd])
);
GO
