CREATE TABLE [dbo].[History] (
    [Year] [int] NOT NULL,
    [Note] [nvarchar](100) NULL
) ON [PS_Year]([Year]);
GO
