CREATE TABLE [Graph].[LivesIn] (
    [SinceYear] [int] NULL
) AS EDGE;
GO
