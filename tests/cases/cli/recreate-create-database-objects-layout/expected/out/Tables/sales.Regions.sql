CREATE TABLE [sales].[Regions] (
    [Code] [char](2) NOT NULL,
    [Name] [nvarchar](40) NULL,
    CONSTRAINT [pk_regions] PRIMARY KEY CLUSTERED ([Code] ASC)
);
GO
