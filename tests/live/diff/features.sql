-- Changes made to a copy of features.sql's database, rows first: sqlscripts diff must write the migration
-- that takes either database to the other's state, every row of a table both keep kept. The columns and tables
-- that one of them lacks hold no values, since a migration never drops values. The test server drops no
-- default (server-limits): a default changes here only, which adding one does on that server.
INSERT INTO [dbo].[Region] ([RegionID], [Name], [Description]) VALUES (1, N'North', N'cold'), (2, N'South', NULL)
GO
INSERT INTO [hr].[Employees] ([FirstName], [LastName], [RegionID], [Rating], [Phone], [Salary])
VALUES (N'Ann', N'Lee', 1, 7.5, '555-0100', 1000), (N'Bob', N'Kay', 2, NULL, '555-0101', NULL)
GO
INSERT INTO [Sales Dept].[Order Lines] ([RegionID], [EmployeeID], [When], [At], [Qty], [Price], [Code], [Remark])
VALUES (1, 1, '2024-01-02 03:04:05.678', '10:11:12', 2.5, 9.99, 'ABC', 'first'), (2, NULL, '2024-02-03', NULL, 1, NULL, NULL, NULL)
GO
INSERT INTO [dbo].[Audit Log] ([When], [What]) VALUES ('2024-03-04 05:06:07.1234567', N'made')
GO
-- Columns: a type widened, a length grown, a column added with a default, a column dropped, a computed column
-- changed.
ALTER TABLE [Sales Dept].[Order Lines] ALTER COLUMN [At] time(3)
GO
ALTER TABLE [Sales Dept].[Order Lines] DROP COLUMN [Total]
GO
ALTER TABLE [hr].[Employees] ALTER COLUMN [Rating] decimal(6, 2)
GO
ALTER TABLE [dbo].[Audit Log] ADD [Level] int NULL
GO
ALTER TABLE [dbo].[Audit Log] ADD CONSTRAINT [DF_Audit Log_Level] DEFAULT (3) FOR [Level]
GO
ALTER TABLE [dbo].[Audit Log] DROP COLUMN [Who]
GO
ALTER TABLE [Sales Dept].[Order Lines] ADD [Total] AS ([Qty] * [Price] * 2) PERSISTED
GO
-- Keys, constraints and indexes: added, dropped, changed.
ALTER TABLE [dbo].[Audit Log] ADD CONSTRAINT [UQ_Audit Log] UNIQUE ([When])
GO
ALTER TABLE [hr].[Employees] DROP CONSTRAINT [CK_Employees_Names]
GO
ALTER TABLE [hr].[Employees] ADD CONSTRAINT [CK_Employees_Salary] CHECK ([Salary] >= 0)
GO
ALTER TABLE [Sales Dept].[Order Lines] DROP CONSTRAINT [CK_Order Lines_Qty]
GO
ALTER TABLE [Sales Dept].[Order Lines] ADD CONSTRAINT [CK_Order Lines_Qty] CHECK ([Qty] >= 0)
GO
ALTER TABLE [dbo].[Region] ADD CONSTRAINT [DF_Region_Weight5] DEFAULT (5) FOR [Weight]
GO
ALTER TABLE [hr].[Employees] DROP CONSTRAINT [FK_Employees_Region]
GO
ALTER TABLE [hr].[Employees] ADD CONSTRAINT [FK_Employees_Region] FOREIGN KEY ([RegionID]) REFERENCES [dbo].[Region] ([RegionID]) ON DELETE CASCADE
GO
DROP INDEX [IX_Audit Log_When] ON [dbo].[Audit Log]
GO
CREATE INDEX [IX_Audit Log_What] ON [dbo].[Audit Log] ([What])
GO
DROP INDEX [IX_Employees_Name] ON [hr].[Employees]
GO
CREATE NONCLUSTERED INDEX [IX_Employees_Name] ON [hr].[Employees] ([LastName] DESC) INCLUDE ([Email], [Salary])
GO
-- Tables: one added, a view and its trigger dropped.
CREATE TABLE [hr].[Skills] ([SkillID] int IDENTITY(5, 5) NOT NULL CONSTRAINT [PK_Skills] PRIMARY KEY, [Name] nvarchar(30) NOT NULL, [EmployeeID] int NULL CONSTRAINT [FK_Skills_Employees] REFERENCES [hr].[Employees] ([EmployeeID]))
GO
DROP TRIGGER [dbo].[trvOrder]
GO
DROP VIEW [dbo].[vOrder]
GO
-- Modules: a view, a function, a procedure and a trigger changed; a procedure dropped, one added.
DROP VIEW [hr].[Active Count]
GO
CREATE VIEW [hr].[Active Count] AS SELECT COUNT(*) AS [N], MAX([EmployeeID]) AS [Last] FROM [hr].[Active Employees]
GO
DROP FUNCTION [hr].[EmployeesOf]
GO
CREATE FUNCTION [hr].[EmployeesOf] (@RegionID int) RETURNS TABLE AS
RETURN (SELECT [EmployeeID], [LastName] FROM [hr].[Employees] WHERE [RegionID] = @RegionID)
GO
DROP PROCEDURE [dbo].[select]
GO
CREATE PROCEDURE [dbo].[select] @x int = 6, @Name nvarchar(20) = N'it''s' AS
SELECT @x AS [x], @Name AS [it's], [dbo].[Twice](@x) AS [Twice]
GO
DROP TRIGGER [hr].[trEmployees]
GO
CREATE TRIGGER [hr].[trEmployees] ON [hr].[Employees] AFTER INSERT AS
SET NOCOUNT ON
GO
ENABLE TRIGGER [dbo].[trOrder Delete] ON [dbo].[Order]
GO
DROP PROCEDURE [hr].[Raise]
GO
CREATE PROCEDURE [hr].[Count Skills] AS SELECT COUNT(*) FROM [hr].[Skills]
GO
-- Schemas, types and sequences.
CREATE SCHEMA [extra]
GO
CREATE TYPE [extra].[Flag] FROM bit NOT NULL
GO
DROP TYPE [it's.odd].[Code Type]
GO
ALTER SEQUENCE [hr].[Plain] INCREMENT BY 2 MAXVALUE 5000
GO
ALTER SEQUENCE [dbo].[OrderNumbers] NO CYCLE
GO
CREATE SEQUENCE [extra].[Tickets] AS int START WITH 1
GO
-- Extended properties: added, changed, dropped.
EXEC sys.sp_updateextendedproperty @name = N'MS_Description', @value = N'Sales', @level0type = N'SCHEMA', @level0name = N'Sales Dept'
GO
EXEC sys.sp_dropextendedproperty @name = N'MS_Description', @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'Twice'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Skills of an employee', @level0type = N'SCHEMA', @level0name = N'hr', @level1type = N'TABLE', @level1name = N'Skills'
GO
EXEC sys.sp_addextendedproperty @name = N'Unit', @value = N'hours', @level0type = N'SCHEMA', @level0name = N'hr', @level1type = N'TABLE', @level1name = N'Employees', @level2type = N'COLUMN', @level2name = N'Shift'
GO
