ALTER ROLE [writers] ADD MEMBER [app_user];
GO
