CREATE TABLE [dbo].[Audit Log] (
    [When] [datetime2](6) NOT NULL,
    [What] [nvarchar](200) NULL,
    [Who] [sysname] NULL
);
GO
CREATE TABLE [dbo].[Order] (
    [From] [int] NOT NULL,
    [To] [int] NOT NULL,
    [Small] [smallint] NULL,
    [Tiny] [tinyint] NULL,
    [Big] [bigint] NULL,
    [Flag] [bit] NULL,
    [Real] [real] NULL,
    [Float] [float] NULL,
    [Cash] [smallmoney] NULL,
    [Stamp] [datetime] NULL,
    [Minute] [smalldatetime] NULL,
    [Fixed] [nchar](10) NULL,
    [Bytes] [binary](8) NULL,
    [Var Bytes] [varbinary](16) NULL,
    [Any] [sql_variant] NULL,
    [Name] [sysname] NULL,
    [Old Text] [text] NULL,
    [Old NText] [ntext] NULL,
    [Old Image] [image] NULL,
    [Version] [timestamp] NULL,
    CONSTRAINT [pk_order] PRIMARY KEY CLUSTERED ([From] ASC)
);
GO
CREATE TABLE [dbo].[Region] (
    [RegionID] [int] NOT NULL,
    [Name] [nvarchar](50) COLLATE SQL_Latin1_General_CP1_CS_AS NOT NULL,
    [Description] [nvarchar](max) NULL,
    [Weight] [int] NOT NULL CONSTRAINT [DF_Region_31860] DEFAULT twice(2),
    CONSTRAINT [pk_region] PRIMARY KEY CLUSTERED ([RegionID] ASC),
    CONSTRAINT [uq_region_name] UNIQUE NONCLUSTERED ([Name] ASC)
);
GO
CREATE TABLE [hr].[Employees] (
    [EmployeeID] [int] IDENTITY(1, 1) NOT NULL,
    [ManagerID] [int] NULL,
    [RegionID] [int] NULL,
    [FirstName] [nvarchar](40) NOT NULL,
    [LastName] [nvarchar](40) NOT NULL,
    [BirthDate] [date] NULL,
    [HiredAt] [datetime2](3) NOT NULL CONSTRAINT [DF_Employees_31871] DEFAULT sysdatetime(),
    [Shift] [time](2) NULL,
    [Seen] [datetimeoffset](5) NULL,
    [Salary] [money] NULL,
    [Rating] [decimal](4, 1) NULL,
    [Phone] [dbo].[phone] NOT NULL,
    [Email] [varchar](100) NULL,
    [RowGuid] [uniqueidentifier] NOT NULL CONSTRAINT [DF_Employees_31872] DEFAULT newid(),
    [Yearly] AS (salary * 12) PERSISTED,
    [Upper Name] AS (upper(lastname)) PERSISTED,
    [IsActive] [bit] NOT NULL CONSTRAINT [DF_Employees_31875] DEFAULT 1,
    [Photo] [varbinary](max) NULL,
    [Profile] [xml] NULL,
    CONSTRAINT [pk_employees] PRIMARY KEY CLUSTERED ([EmployeeID] ASC)
);
GO
CREATE TABLE [it's.odd].[Table.With "Quotes'] (
    [Key] [int] NOT NULL,
    [Select] [nvarchar](10) NULL,
    [a.b c] [int] NULL,
    [Line'No] [bigint] NULL,
    [Region] [int] NULL,
    [Kind] [dbo].[phone] NOT NULL,
    CONSTRAINT [pk it's] PRIMARY KEY CLUSTERED ([Key] ASC)
);
GO
CREATE TABLE [Sales Dept].[order lines] (
    [RegionID] [int] NOT NULL,
    [LineNo] [bigint] IDENTITY(100, 10) NOT NULL,
    [EmployeeID] [int] NULL,
    [When] [datetime2](3) NOT NULL,
    [At] [time](0) NULL,
    [Qty] [decimal](9, 2) NOT NULL,
    [Price] [numeric](18, 4) NULL,
    [Total] AS (qty * price) PERSISTED,
    [Code] [char](3) COLLATE SQL_Latin1_General_CP1_CS_AS NULL,
    [Weight] [dbo].[amount] NULL,
    [Remark] [varchar](max) NULL,
    CONSTRAINT [pk_order lines] PRIMARY KEY CLUSTERED ([RegionID] DESC, [LineNo] ASC),
    CONSTRAINT [uq_order lines.when] UNIQUE NONCLUSTERED ([When] DESC, [RegionID] ASC)
);
GO
