ALTER ROLE [db_datawriter] ADD MEMBER [CONTOSO\Sales];
GO
