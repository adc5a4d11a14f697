IF OBJECT_ID(N'[sales].[Orders]', N'U') IS NOT NULL ALTER TABLE [sales].[Orders] DROP CONSTRAINT IF EXISTS [FK_Orders_Customer];
GO
IF OBJECT_ID(N'[dbo].[Node]', N'U') IS NOT NULL ALTER TABLE [dbo].[Node] DROP CONSTRAINT IF EXISTS [FK_Node_Parent];
GO
IF OBJECT_ID(N'[dbo].[Node]', N'U') IS NOT NULL ALTER TABLE [dbo].[Node] DROP CONSTRAINT IF EXISTS [FK_Node_Customer];
GO
IF EXISTS (SELECT * FROM sys.database_role_members WHERE role_principal_id = DATABASE_PRINCIPAL_ID(N'writers') AND member_principal_id = DATABASE_PRINCIPAL_ID(N'app_user'))
    ALTER ROLE [writers] DROP MEMBER [app_user];
GO
IF EXISTS (SELECT * FROM sys.database_role_members WHERE role_principal_id = DATABASE_PRINCIPAL_ID(N'readers') AND member_principal_id = DATABASE_PRINCIPAL_ID(N'odd] role''s'))
    ALTER ROLE [readers] DROP MEMBER [odd]] role's];
GO
IF EXISTS (SELECT * FROM sys.database_role_members WHERE role_principal_id = DATABASE_PRINCIPAL_ID(N'odd] role''s') AND member_principal_id = DATABASE_PRINCIPAL_ID(N'report_user'))
    ALTER ROLE [odd]] role's] DROP MEMBER [report_user];
GO
IF EXISTS (SELECT * FROM sys.database_role_members WHERE role_principal_id = DATABASE_PRINCIPAL_ID(N'db_datawriter') AND member_principal_id = DATABASE_PRINCIPAL_ID(N'CONTOSO\Sales'))
    ALTER ROLE [db_datawriter] DROP MEMBER [CONTOSO\Sales];
GO
IF EXISTS (SELECT * FROM sys.database_role_members WHERE role_principal_id = DATABASE_PRINCIPAL_ID(N'db_datareader') AND member_principal_id = DATABASE_PRINCIPAL_ID(N'readers'))
    ALTER ROLE [db_datareader] DROP MEMBER [readers];
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'sales', N'TABLE', N'Orders', N'TRIGGER', N'trOrders')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Orders', @level2type = N'TRIGGER', @level2name = N'trOrders';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'sales', N'TABLE', N'Orders', N'CONSTRAINT', N'PK_Orders')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'sales', @level1type = N'TABLE', @level1name = N'Orders', @level2type = N'CONSTRAINT', @level2name = N'PK_Orders';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'odd] name', N'VIEW', N'Orders', N'COLUMN', N'OrderId')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'odd] name', @level1type = N'VIEW', @level1name = N'Orders', @level2type = N'COLUMN', @level2name = N'OrderId';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'VIEW', N'vCustomer', N'COLUMN', N'CustomerId')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'VIEW', @level1name = N'vCustomer', @level2type = N'COLUMN', @level2name = N'CustomerId';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'FUNCTION', N'tfLines', N'COLUMN', N'n')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'tfLines', @level2type = N'COLUMN', @level2name = N'n';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'TYPE', N'Phone', NULL, NULL)) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TYPE', @level1name = N'Phone';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'Revision', N'SCHEMA', N'dbo', N'PROCEDURE', N'pEven', NULL, NULL)) EXEC sys.sp_dropextendedproperty @name = N'Revision', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'pEven';
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'PROCEDURE', N'pEven', N'PARAMETER', N'@n')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'pEven', @level2type = N'PARAMETER', @level2name = N'@n';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'Unit', N'SCHEMA', N'dbo', N'FUNCTION', N'fnTax', N'PARAMETER', N'@a')) EXEC sys.sp_dropextendedproperty @name = N'Unit', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'fnTax', @level2type = N'PARAMETER', @level2name = N'@a';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'FUNCTION', N'fnIsValid', N'PARAMETER', N'@id')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'fnIsValid', @level2type = N'PARAMETER', @level2name = N'@id';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'TABLE', N'Customer', NULL, NULL)) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer';
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'TABLE', N'Customer', N'COLUMN', N'Name')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'COLUMN', @level2name = N'Name';
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'TABLE', N'Customer', N'CONSTRAINT', N'PK_Customer')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'CONSTRAINT', @level2name = N'PK_Customer';
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'TABLE', N'Customer', N'CONSTRAINT', N'UQ_Customer_Name')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'CONSTRAINT', @level2name = N'UQ_Customer_Name';
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'TABLE', N'Customer', N'CONSTRAINT', N'CK_Customer_Name')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'CONSTRAINT', @level2name = N'CK_Customer_Name';
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'dbo', N'TABLE', N'Customer', N'INDEX', N'IX_Customer_Phone')) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name = N'Customer', @level2type = N'INDEX', @level2name = N'IX_Customer_Phone';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', N'SCHEMA', N'sales', NULL, NULL, NULL, NULL)) EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'sales';
GO
IF EXISTS (SELECT 1 FROM sys.fn_listextendedproperty(N'MS_Description', NULL, NULL, NULL, NULL, NULL, NULL)) EXEC sys.sp_dropextendedproperty @name = N'MS_Description';
GO
DROP TRIGGER IF EXISTS [sales].[trOrders];
GO
DROP TRIGGER IF EXISTS [dbo].[trvCustomer];
GO
DROP PROCEDURE IF EXISTS [odd]] name].[odd]] proc];
GO
DROP PROCEDURE IF EXISTS [dbo].[pOdd];
GO
DROP PROCEDURE IF EXISTS [dbo].[pEven];
GO
DROP FUNCTION IF EXISTS [dbo].[tfLines];
GO
DROP VIEW IF EXISTS [odd]] name].[Orders];
GO
DROP VIEW IF EXISTS [dbo].[vCustomer];
GO
DROP FUNCTION IF EXISTS [dbo].[ifA];
GO
DROP VIEW IF EXISTS [dbo].[vB];
GO
IF OBJECT_ID(N'[sales].[Orders]', N'U') IS NOT NULL DROP INDEX IF EXISTS [IX_Orders_Customer] ON [sales].[Orders];
GO
IF OBJECT_ID(N'[dbo].[Customer]', N'U') IS NOT NULL DROP INDEX IF EXISTS [UX_Customer_Guid] ON [dbo].[Customer];
GO
IF OBJECT_ID(N'[dbo].[Customer]', N'U') IS NOT NULL DROP INDEX IF EXISTS [IX_Customer_Phone] ON [dbo].[Customer];
GO
IF OBJECT_ID(N'[sales].[Orders]', N'U') IS NOT NULL ALTER TABLE [sales].[Orders] DROP CONSTRAINT IF EXISTS [CK_Orders_Status];
GO
IF OBJECT_ID(N'[sales].[Orders]', N'U') IS NOT NULL ALTER TABLE [sales].[Orders] DROP CONSTRAINT IF EXISTS [CK_Orders_Paren];
GO
IF OBJECT_ID(N'[dbo].[Token]', N'U') IS NOT NULL ALTER TABLE [dbo].[Token] DROP CONSTRAINT IF EXISTS [DF_Token_Code];
GO
IF OBJECT_ID(N'[dbo].[Customer]', N'U') IS NOT NULL ALTER TABLE [dbo].[Customer] DROP CONSTRAINT IF EXISTS [CK_Customer_Valid];
GO
IF OBJECT_ID(N'[dbo].[Customer]', N'U') IS NOT NULL ALTER TABLE [dbo].[Customer] DROP CONSTRAINT IF EXISTS [CK_Customer_Name];
GO
DROP FUNCTION IF EXISTS [dbo].[fnNextToken];
GO
DROP FUNCTION IF EXISTS [dbo].[fnIsValid];
GO
DROP TABLE IF EXISTS [sales].[Orders];
GO
DROP TABLE IF EXISTS [dbo].[Token];
GO
DROP TABLE IF EXISTS [dbo].[Node];
GO
DROP TABLE IF EXISTS [dbo].[History];
GO
DROP TABLE IF EXISTS [dbo].[Customer];
GO
DROP FUNCTION IF EXISTS [dbo].[fnTax];
GO
DROP SYNONYM IF EXISTS [dbo].[Ticket];
GO
DROP SYNONYM IF EXISTS [dbo].[Cust];
GO
DROP SEQUENCE IF EXISTS [sales].[Ticket];
GO
DROP SEQUENCE IF EXISTS [dbo].[OrderNo];
GO
DROP TYPE IF EXISTS [sales].[LineList];
GO
DROP TYPE IF EXISTS [dbo].[Phone];
GO
IF EXISTS (SELECT 1 FROM sys.xml_schema_collections WHERE schema_id = SCHEMA_ID(N'dbo') AND name = N'OrderSchema') DROP XML SCHEMA COLLECTION [dbo].[OrderSchema];
GO
DROP SCHEMA IF EXISTS [sales];
GO
DROP SCHEMA IF EXISTS [odd]] name];
GO
IF DATABASE_PRINCIPAL_ID(N'writers') IS NOT NULL DROP ROLE [writers];
GO
IF DATABASE_PRINCIPAL_ID(N'odd] role''s') IS NOT NULL DROP ROLE [odd]] role's];
GO
IF DATABASE_PRINCIPAL_ID(N'readers') IS NOT NULL DROP ROLE [readers];
GO
IF DATABASE_PRINCIPAL_ID(N'ledger''s app') IS NOT NULL DROP APPLICATION ROLE [ledger's app];
GO
IF DATABASE_PRINCIPAL_ID(N'report_user') IS NOT NULL DROP USER [report_user];
GO
IF DATABASE_PRINCIPAL_ID(N'ext_user') IS NOT NULL DROP USER [ext_user];
GO
IF DATABASE_PRINCIPAL_ID(N'CONTOSO\Sales') IS NOT NULL DROP USER [CONTOSO\Sales];
GO
IF DATABASE_PRINCIPAL_ID(N'app_user') IS NOT NULL DROP USER [app_user];
GO
