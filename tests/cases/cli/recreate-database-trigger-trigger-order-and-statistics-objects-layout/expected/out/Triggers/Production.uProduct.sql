SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE TRIGGER [Production].[uProduct] ON [Production].[Product]
AFTER UPDATE AS
BEGIN
    SET NOCOUNT ON;
END;
GO
EXEC sys.sp_settriggerorder @triggername = N'[Production].[uProduct]', @order = N'First', @stmttype = N'UPDATE';
GO
