IF OBJECT_ID(N'[dbo].[Places]', N'U') IS NOT NULL DROP INDEX IF EXISTS [SIX_Places_Shape] ON [dbo].[Places];
GO
IF OBJECT_ID(N'[dbo].[Places]', N'U') IS NOT NULL DROP INDEX IF EXISTS [SIX_Places_Position] ON [dbo].[Places];
GO
IF OBJECT_ID(N'[dbo].[Places]', N'U') IS NOT NULL DROP INDEX IF EXISTS [SIX_Places_Area] ON [dbo].[Places];
GO
IF OBJECT_ID(N'[Application].[Cities]', N'U') IS NOT NULL DROP INDEX IF EXISTS [IX_Application_Cities_Location] ON [Application].[Cities];
GO
DROP TABLE IF EXISTS [dbo].[Places];
GO
DROP TABLE IF EXISTS [Application].[Cities];
GO
DROP SCHEMA IF EXISTS [Application];
GO
