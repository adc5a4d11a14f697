CREATE ROLE [odd]] role's] AUTHORIZATION [readers];
GO
