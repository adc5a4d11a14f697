IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL ALTER TABLE [dbo].[Orders] DROP CONSTRAINT IF EXISTS [fk_orders_customers];
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'sales', N'TABLE', N'Regions', NULL, NULL)) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Regions';
GO
DROP PROCEDURE IF EXISTS [dbo].[OrdersOf];
GO
DROP PROCEDURE IF EXISTS [dbo].[OrderCount];
GO
DROP PROCEDURE IF EXISTS [dbo].[Report];
GO
DROP VIEW IF EXISTS [sales].[BigRegions];
GO
IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL DROP INDEX IF EXISTS [ix_orders_placed] ON [dbo].[Orders];
GO
DROP TABLE IF EXISTS [sales].[Regions];
GO
DROP TABLE IF EXISTS [dbo].[Orders];
GO
DROP TABLE IF EXISTS [dbo].[Customers];
GO
DROP SCHEMA IF EXISTS [sales];
GO
