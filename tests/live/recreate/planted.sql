-- Differences planted into a copy of features.sql's database, one kind of property after another; the
-- comparison must report exactly planted.diff.
ALTER TABLE [Sales Dept].[Order Lines] ALTER COLUMN [At] time(1)
GO
ALTER TABLE [Sales Dept].[Order Lines] DROP COLUMN [Remark]
GO
ALTER TABLE [Sales Dept].[Order Lines] ADD [Remark] varchar(max) NOT NULL
GO
ALTER TABLE [dbo].[Audit Log] DROP COLUMN [Who]
GO
ALTER TABLE [dbo].[Audit Log] ADD [Who] nvarchar(128) COLLATE Latin1_General_CS_AS NULL
GO
ALTER TABLE [dbo].[Audit Log] ADD [Extra] int NULL
GO
ALTER TABLE [dbo].[Audit Log] ADD CONSTRAINT [DF_Audit Log_Who] DEFAULT (N'nobody') FOR [Who]
GO
ALTER TABLE [hr].[Employees] DROP CONSTRAINT [CK_Employees_Names]
GO
ALTER TABLE [hr].[Employees] ADD CONSTRAINT [CK_Names] CHECK ([FirstName] <> [LastName])
GO
ALTER TABLE [hr].[Employees] DROP CONSTRAINT [FK_Employees_Region]
GO
ALTER TABLE [hr].[Employees] ADD CONSTRAINT [FK_Employees_Region] FOREIGN KEY ([RegionID]) REFERENCES [dbo].[Region] ([RegionID]) ON DELETE CASCADE ON UPDATE CASCADE
GO
ALTER TABLE [it's.odd].[Table.With "Quotes'] DROP CONSTRAINT [FK it's lines]
GO
ALTER TABLE [it's.odd].[Table.With "Quotes'] ADD CONSTRAINT [FK it's lines] FOREIGN KEY ([Region], [Line'No]) REFERENCES [Sales Dept].[Order Lines] ([RegionID], [LineNo]) ON DELETE CASCADE
GO
DROP INDEX [IX it's.odd] ON [it's.odd].[Table.With "Quotes']
GO
CREATE INDEX [IX it's.odd] ON [it's.odd].[Table.With "Quotes'] ([a.b c], [Select])
GO
DROP INDEX [IX_Audit Log_When] ON [dbo].[Audit Log]
GO
CREATE UNIQUE INDEX [IX_Audit Log_When] ON [dbo].[Audit Log] ([When])
GO
ALTER TABLE [dbo].[Audit Log] ADD CONSTRAINT [UQ_Audit Log] UNIQUE ([When], [What])
GO
ALTER SEQUENCE [hr].[Plain] INCREMENT BY 2
GO
DROP TYPE [it's.odd].[Code Type]
GO
CREATE SCHEMA [extra]
GO
ALTER PROCEDURE [dbo].[select] @x int = 6, @Name nvarchar(20) = N'it''s' AS
SELECT @x AS [x], @Name AS [it's], [dbo].[Twice](@x) AS [Twice]
GO
CREATE TRIGGER [dbo].[trRegion] ON [dbo].[Region] AFTER UPDATE AS
SET NOCOUNT ON
GO
ENABLE TRIGGER [dbo].[trOrder Delete] ON [dbo].[Order]
GO
EXEC sys.sp_updateextendedproperty @name = N'MS_Description', @value = N'Sales', @level0type = N'SCHEMA', @level0name = N'Sales Dept'
GO
