ALTER ROLE [db_datareader] ADD MEMBER [readers];
GO
