ALTER ROLE [readers] ADD MEMBER [odd]] role's];
GO
