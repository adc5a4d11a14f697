EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Sample of SQL Server''s catalog';
GO
