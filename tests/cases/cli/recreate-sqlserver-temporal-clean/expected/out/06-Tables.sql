CREATE TABLE [Application].[Cities] (
    [CityID] [int] NOT NULL,
    [CityName] [nvarchar](50) NOT NULL,
    [LatestRecordedPopulation] [bigint] NULL,
    [ValidFrom] [datetime2](7) GENERATED ALWAYS AS ROW START NOT NULL,
    [ValidTo] [datetime2](7) GENERATED ALWAYS AS ROW END NOT NULL,
    CONSTRAINT [PK_Application_Cities] PRIMARY KEY CLUSTERED ([CityID] ASC),
    PERIOD FOR SYSTEM_TIME ([ValidFrom], [ValidTo])
);
GO
CREATE TABLE [Application].[Cities_Archive] (
    [CityID] [int] NOT NULL,
    [CityName] [nvarchar](50) NOT NULL,
    [LatestRecordedPopulation] [bigint] NULL,
    [ValidFrom] [datetime2](7) NOT NULL,
    [ValidTo] [datetime2](7) NOT NULL
);
GO
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
CREATE TABLE [Sales].[DepartmentsHistory] (
    [DeptID] [int] NOT NULL,
    [DeptName] [nvarchar](50) NOT NULL,
    [Budget] [decimal](18, 2) NULL,
    [SysStart] [datetime2](2) NOT NULL,
    [SysEnd] [datetime2](2) NOT NULL
);
GO
CREATE TABLE [Sales].[HistoricPromotions] (
    [ID] [int] NOT NULL,
    [Name] [nvarchar](50) NOT NULL,
    [ValidFrom] [datetime2](0) NOT NULL,
    [ValidTo] [datetime2](0) NOT NULL
);
GO
CREATE TABLE [Sales].[Promotions] (
    [ID] [int] NOT NULL,
    [Name] [nvarchar](50) NOT NULL,
    [ValidFrom] [datetime2](0) GENERATED ALWAYS AS ROW START NOT NULL,
    [ValidTo] [datetime2](0) GENERATED ALWAYS AS ROW END NOT NULL,
    CONSTRAINT [PK_Sales_Promotions] PRIMARY KEY CLUSTERED ([ID] ASC),
    PERIOD FOR SYSTEM_TIME ([ValidFrom], [ValidTo])
);
GO
