SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE TRIGGER [dbo].[trOrder Delete] ON [dbo].[Order] FOR DELETE AS
INSERT INTO [dbo].[Audit Log] ([When], [What]) SELECT sysdatetime(), N'deleted' FROM deleted
GO
DISABLE TRIGGER [dbo].[trOrder Delete] ON [dbo].[Order];
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE TRIGGER [dbo].[trvOrder] ON [dbo].[vOrder] INSTEAD OF INSERT AS
INSERT INTO [dbo].[Order] ([From], [To]) SELECT [From], [To] FROM inserted
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE TRIGGER [hr].[trEmployees] ON [hr].[Employees] AFTER INSERT, UPDATE AS
SET NOCOUNT ON
GO
