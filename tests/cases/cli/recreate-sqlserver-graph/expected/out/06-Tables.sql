CREATE TABLE [Graph].[City] (
    [CityID] [int] NOT NULL,
    [CityName] [nvarchar](50) NOT NULL,
    CONSTRAINT [PK_City] PRIMARY KEY CLUSTERED ([CityID] ASC)
) AS NODE;
GO
CREATE TABLE [Graph].[Company] (
    [CompanyID] [int] NOT NULL,
    CONSTRAINT [PK_Company] PRIMARY KEY CLUSTERED ([CompanyID] ASC)
) AS NODE;
GO
CREATE TABLE [Graph].[FriendOf] AS EDGE;
GO
CREATE TABLE [Graph].[LivesIn] (
    [SinceYear] [int] NULL
) AS EDGE;
GO
CREATE TABLE [Graph].[Person] (
    [PersonID] [int] NOT NULL,
    [FullName] [nvarchar](100) NOT NULL,
    CONSTRAINT [PK_Person] PRIMARY KEY CLUSTERED ([PersonID] ASC)
) AS NODE;
GO
