CREATE TABLE [Application].[Cities] (
    [CityID] [int] NOT NULL,
    [CityName] [nvarchar](50) NOT NULL,
    [Location] [geography] NULL,
    CONSTRAINT [PK_Application_Cities] PRIMARY KEY CLUSTERED ([CityID] ASC)
);
GO
