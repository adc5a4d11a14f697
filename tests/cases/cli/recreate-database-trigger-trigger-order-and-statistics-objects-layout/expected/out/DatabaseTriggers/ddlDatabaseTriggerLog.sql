SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE TRIGGER [ddlDatabaseTriggerLog] ON DATABASE
FOR DDL_DATABASE_LEVEL_EVENTS AS
BEGIN
    SET NOCOUNT ON;
    INSERT [dbo].[DatabaseLog] ([PostTime], [DatabaseUser], [Event])
    VALUES (GETDATE(), CONVERT(sysname, CURRENT_USER), EVENTDATA().value('(/EVENT_INSTANCE/EventType)[1]', 'sysname'));
END;
GO
DISABLE TRIGGER [ddlDatabaseTriggerLog] ON DATABASE;
EXEC sys.sp_settriggerorder @triggername = N'[ddlDatabaseTriggerLog]', @order = N'Last', @stmttype = N'CREATE_TABLE', @namespace = N'DATABASE';
GO
