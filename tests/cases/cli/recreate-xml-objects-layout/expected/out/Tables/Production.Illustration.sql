CREATE TABLE [Production].[Illustration] (
    [IllustrationID] [int] IDENTITY(1, 1) NOT NULL,
    [Diagram] [xml] NULL,
    CONSTRAINT [PK_Illustration_IllustrationID] PRIMARY KEY CLUSTERED ([IllustrationID] ASC)
);
GO
