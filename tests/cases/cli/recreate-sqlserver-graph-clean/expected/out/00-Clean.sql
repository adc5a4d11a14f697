IF OBJECT_ID(N'[Graph].[LivesIn]', N'U') IS NOT NULL ALTER TABLE [Graph].[LivesIn] DROP CONSTRAINT IF EXISTS [EC_LivesIn];
GO
IF OBJECT_ID(N'[Graph].[FriendOf]', N'U') IS NOT NULL ALTER TABLE [Graph].[FriendOf] DROP CONSTRAINT IF EXISTS [EC_FriendOf];
GO
IF OBJECT_ID(N'[Graph].[LivesIn]', N'U') IS NOT NULL DROP INDEX IF EXISTS [IX_LivesIn_FromTo] ON [Graph].[LivesIn];
GO
IF OBJECT_ID(N'[Graph].[City]', N'U') IS NOT NULL DROP INDEX IF EXISTS [UX_City_NodeId] ON [Graph].[City];
GO
DROP TABLE IF EXISTS [Graph].[Person];
GO
DROP TABLE IF EXISTS [Graph].[LivesIn];
GO
DROP TABLE IF EXISTS [Graph].[FriendOf];
GO
DROP TABLE IF EXISTS [Graph].[Company];
GO
DROP TABLE IF EXISTS [Graph].[City];
GO
DROP SCHEMA IF EXISTS [Graph];
GO
