SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE TRIGGER [Production].[uProductLog] ON [Production].[Product]
AFTER UPDATE AS
BEGIN
    SET NOCOUNT ON;
END;
GO
EXEC sys.sp_settriggerorder @triggername = N'[Production].[uProductLog]', @order = N'Last', @stmttype = N'UPDATE';
GO
