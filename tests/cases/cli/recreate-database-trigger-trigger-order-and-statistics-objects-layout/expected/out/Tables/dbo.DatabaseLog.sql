CREATE TABLE [dbo].[DatabaseLog] (
    [DatabaseLogID] [int] IDENTITY(1, 1) NOT NULL,
    [PostTime] [datetime2](7) NOT NULL,
    [DatabaseUser] [sysname] NOT NULL,
    [Event] [sysname] NOT NULL
);
GO
