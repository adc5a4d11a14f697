CREATE ROLE [readers];
GO
