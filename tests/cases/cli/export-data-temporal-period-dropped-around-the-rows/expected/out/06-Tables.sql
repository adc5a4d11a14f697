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
