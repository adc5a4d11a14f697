CREATE TABLE [dbo].[Places] (
    [PlaceID] [int] NOT NULL,
    [Shape] [geometry] NULL,
    [Area] [geometry] NULL,
    [Position] [geography] NULL,
    CONSTRAINT [PK_Places] PRIMARY KEY CLUSTERED ([PlaceID] ASC)
);
GO
