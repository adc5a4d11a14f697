DROP SECURITY POLICY IF EXISTS [Application].[FilterCustomersBySalesTerritoryRole];
GO
DROP FUNCTION IF EXISTS [Application].[DetermineCustomerAccess];
GO
DROP TABLE IF EXISTS [Sales].[Customers];
GO
DROP TABLE IF EXISTS [Purchasing].[Suppliers];
GO
DROP SCHEMA IF EXISTS [Sales];
GO
DROP SCHEMA IF EXISTS [Purchasing];
GO
DROP SCHEMA IF EXISTS [Application];
GO
IF DATABASE_PRINCIPAL_ID(N'DataAnalyst') IS NOT NULL DROP USER [DataAnalyst];
GO
