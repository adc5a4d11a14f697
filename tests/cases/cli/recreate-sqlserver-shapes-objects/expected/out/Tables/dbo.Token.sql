CREATE TABLE [dbo].[Token] (
    [TokenId] [int] NOT NULL,
    [Code] [int] NULL
);
GO
