CREATE ROLE [writers] AUTHORIZATION [app_user];
GO
