-- A database of the live check's own: every kind of object and property that scripts recreating a database
-- must carry, as far as the test server accepts them; what it refuses or does not report is listed in
-- server-limits beside this file. Odd names throughout: blanks, dots, quotes, reserved words.
CREATE SCHEMA [Sales Dept] AUTHORIZATION [dbo]
GO
CREATE SCHEMA [it's.odd]
GO
CREATE SCHEMA [hr] AUTHORIZATION [dbo]
GO
CREATE TYPE [dbo].[Phone] FROM varchar(24) NOT NULL
GO
CREATE TYPE [dbo].[Amount] FROM decimal(12, 3) NULL
GO
CREATE TYPE [it's.odd].[Code Type] FROM nchar(4) NULL
GO
CREATE TYPE [hr].[LineList] AS TABLE (
    [Line] int NOT NULL,
    [Qty] decimal(9, 2) NULL CHECK ([Qty] > 0),
    [Note] nvarchar(50) COLLATE Latin1_General_CS_AS NULL,
    PRIMARY KEY ([Line])
)
GO
CREATE SEQUENCE [dbo].[OrderNumbers] AS bigint START WITH 1000 INCREMENT BY 5 MINVALUE 1 MAXVALUE 9999999 CYCLE CACHE 20
GO
CREATE SEQUENCE [it's.odd].[Count Down] AS int START WITH -5 INCREMENT BY -1 MINVALUE -100 MAXVALUE 0 NO CYCLE
GO
CREATE SEQUENCE [hr].[Plain]
GO
CREATE FUNCTION [dbo].[Twice] (@n int) RETURNS int AS BEGIN RETURN @n * 2 END
GO
CREATE FUNCTION [dbo].[NullIn] (@n int) RETURNS int WITH RETURNS NULL ON NULL INPUT, SCHEMABINDING AS BEGIN RETURN @n + 1 END
GO
CREATE TABLE [dbo].[Region] (
    [RegionID] int NOT NULL CONSTRAINT [PK_Region] PRIMARY KEY CLUSTERED,
    [Name] nvarchar(50) COLLATE Latin1_General_CS_AS NOT NULL CONSTRAINT [UQ_Region_Name] UNIQUE NONCLUSTERED,
    [Description] nvarchar(max) NULL,
    [Weight] int NOT NULL CONSTRAINT [DF_Region_Weight] DEFAULT ([dbo].[Twice](2))
)
GO
CREATE TABLE [hr].[Employees] (
    [EmployeeID] int IDENTITY(1, 1) NOT NULL,
    [ManagerID] int NULL,
    [RegionID] int NULL,
    [FirstName] nvarchar(40) NOT NULL,
    [LastName] nvarchar(40) NOT NULL,
    [BirthDate] date NULL,
    [HiredAt] datetime2(3) NOT NULL CONSTRAINT [DF_Employees_HiredAt] DEFAULT (sysdatetime()),
    [Shift] time(2) NULL,
    [Seen] datetimeoffset(5) NULL,
    [Salary] money NULL,
    [Rating] decimal(4, 1) NULL CONSTRAINT [CK_Employees_Rating] CHECK ([Rating] >= 0 AND [Rating] <= 10),
    [Phone] [dbo].[Phone],
    [Email] varchar(100) SPARSE NULL,
    [RowGuid] uniqueidentifier ROWGUIDCOL NOT NULL CONSTRAINT [DF_Employees_RowGuid] DEFAULT (newid()),
    [Yearly] AS ([Salary] * 12) PERSISTED,
    [Upper Name] AS (UPPER([LastName])),
    [IsActive] bit NOT NULL DEFAULT 1,
    [Photo] varbinary(max) NULL,
    [Profile] xml NULL,
    CONSTRAINT [PK_Employees] PRIMARY KEY CLUSTERED ([EmployeeID]),
    CONSTRAINT [CK_Employees_Names] CHECK ([FirstName] <> [LastName])
)
GO
CREATE TABLE [Sales Dept].[Order Lines] (
    [RegionID] int NOT NULL,
    [LineNo] bigint IDENTITY(100, 10) NOT NULL,
    [EmployeeID] int NULL,
    [When] datetime2(3) NOT NULL,
    [At] time(0) NULL,
    [Qty] decimal(9, 2) NOT NULL CONSTRAINT [CK_Order Lines_Qty] CHECK ([Qty] > 0),
    [Price] numeric(18, 4) NULL,
    [Total] AS ([Qty] * [Price]) PERSISTED,
    [Code] char(3) COLLATE Latin1_General_CS_AS NULL,
    [Weight] [dbo].[Amount] NULL,
    [Remark] varchar(max) NULL,
    CONSTRAINT [PK_Order Lines] PRIMARY KEY CLUSTERED ([RegionID] DESC, [LineNo] ASC) WITH (FILLFACTOR = 80),
    CONSTRAINT [UQ_Order Lines.When] UNIQUE NONCLUSTERED ([When] DESC, [RegionID])
)
GO
CREATE TABLE [it's.odd].[Table.With "Quotes'] (
    [Key] int NOT NULL CONSTRAINT [PK it's] PRIMARY KEY,
    [Select] nvarchar(10) NULL,
    [a.b c] int NULL,
    [Line'No] bigint NULL,
    [Region] int NULL,
    [Kind] [dbo].[Phone] NULL
)
GO
CREATE TABLE [dbo].[Order] (
    [From] int NOT NULL CONSTRAINT [PK_Order] PRIMARY KEY NONCLUSTERED,
    [To] int NOT NULL,
    [Small] smallint NULL,
    [Tiny] tinyint NULL,
    [Big] bigint NULL,
    [Flag] bit NULL,
    [Real] real NULL,
    [Float] float NULL,
    [Cash] smallmoney NULL,
    [Stamp] datetime NULL,
    [Minute] smalldatetime NULL,
    [Fixed] nchar(10) NULL,
    [Bytes] binary(8) NULL,
    [Var Bytes] varbinary(16) NULL,
    [Any] sql_variant NULL,
    [Name] sysname NULL,
    [Old Text] text NULL,
    [Old NText] ntext NULL,
    [Old Image] image NULL,
    [Version] rowversion
)
GO
CREATE CLUSTERED INDEX [CX_Order_To] ON [dbo].[Order] ([To] DESC)
GO
CREATE TABLE [dbo].[Audit Log] ([When] datetime2(7) NOT NULL, [What] nvarchar(200) NULL, [Who] sysname NULL)
GO
ALTER TABLE [hr].[Employees] ADD CONSTRAINT [FK_Employees_Manager] FOREIGN KEY ([ManagerID]) REFERENCES [hr].[Employees] ([EmployeeID])
GO
ALTER TABLE [hr].[Employees] ADD CONSTRAINT [FK_Employees_Region] FOREIGN KEY ([RegionID]) REFERENCES [dbo].[Region] ([RegionID]) ON DELETE SET NULL ON UPDATE CASCADE
GO
ALTER TABLE [Sales Dept].[Order Lines] ADD CONSTRAINT [FK_Order Lines_Employees] FOREIGN KEY ([EmployeeID]) REFERENCES [hr].[Employees] ([EmployeeID]) ON DELETE SET DEFAULT
GO
ALTER TABLE [it's.odd].[Table.With "Quotes'] ADD CONSTRAINT [FK it's lines] FOREIGN KEY ([Line'No], [Region]) REFERENCES [Sales Dept].[Order Lines] ([LineNo], [RegionID]) ON DELETE CASCADE ON UPDATE NO ACTION
GO
CREATE UNIQUE NONCLUSTERED INDEX [IX_Order Lines_When] ON [Sales Dept].[Order Lines] ([When] DESC, [Qty]) INCLUDE ([Price], [Code]) WHERE ([EmployeeID] IS NOT NULL) WITH (FILLFACTOR = 70, PAD_INDEX = ON, ALLOW_ROW_LOCKS = OFF, ALLOW_PAGE_LOCKS = OFF)
GO
CREATE NONCLUSTERED INDEX [IX_Employees_Name] ON [hr].[Employees] ([LastName], [FirstName] DESC) INCLUDE ([Email]) WITH (DATA_COMPRESSION = PAGE)
GO
CREATE INDEX [IX it's.odd] ON [it's.odd].[Table.With "Quotes'] ([a.b c] DESC, [Select])
GO
CREATE INDEX [IX_Audit Log_When] ON [dbo].[Audit Log] ([When])
GO
SET ANSI_NULLS OFF
GO
SET QUOTED_IDENTIFIER OFF
GO
CREATE VIEW [hr].[Active Employees] AS
SELECT [EmployeeID], [FirstName], [LastName], [RegionID]
FROM [hr].[Employees]
WHERE [IsActive] = 1 AND [ManagerID] <> NULL
GO
SET ANSI_NULLS ON
GO
SET QUOTED_IDENTIFIER ON
GO
CREATE VIEW [hr].[Active Count] AS SELECT COUNT(*) AS [N] FROM [hr].[Active Employees]
GO
CREATE VIEW [hr].[Checked Regions] WITH SCHEMABINDING AS
SELECT [RegionID], [Name] FROM [dbo].[Region] WHERE [Weight] > 0
WITH CHECK OPTION
GO
CREATE VIEW [dbo].[vOrder] AS SELECT [From], [To] FROM [dbo].[Order]
GO
CREATE VIEW [it's.odd].[View 'x'] AS SELECT [Key] AS [k.1], "Select" AS [it's] FROM [it's.odd].[Table.With "Quotes']
GO
CREATE FUNCTION [hr].[EmployeesOf] (@RegionID int) RETURNS TABLE AS
RETURN (SELECT [EmployeeID], [Upper Name] FROM [hr].[Employees] WHERE [RegionID] = @RegionID)
GO
CREATE FUNCTION [hr].[Lines] (@EmployeeID int)
RETURNS @Result TABLE ([LineNo] bigint PRIMARY KEY, [Qty] decimal(9, 2))
AS
BEGIN
    INSERT INTO @Result SELECT [LineNo], [Qty] FROM [Sales Dept].[Order Lines] WHERE [EmployeeID] = @EmployeeID
    RETURN
END
GO
CREATE PROCEDURE [dbo].[select] @x int = 5, @Name nvarchar(20) = N'it''s' AS
SELECT @x AS [x], @Name AS [it's], [dbo].[Twice](@x) AS [Twice]
GO
CREATE PROCEDURE [hr].[Raise] @EmployeeID int, @Lines [hr].[LineList] READONLY AS
BEGIN
    SET NOCOUNT ON
    UPDATE [hr].[Employees] SET [Salary] = [Salary] * 1.1 WHERE [EmployeeID] = @EmployeeID
    SELECT COUNT(*) FROM @Lines
END
GO
CREATE TRIGGER [hr].[trEmployees] ON [hr].[Employees] AFTER INSERT, UPDATE AS
SET NOCOUNT ON
GO
CREATE TRIGGER [dbo].[trOrder Delete] ON [dbo].[Order] FOR DELETE AS
INSERT INTO [dbo].[Audit Log] ([When], [What]) SELECT sysdatetime(), N'deleted' FROM deleted
GO
DISABLE TRIGGER [dbo].[trOrder Delete] ON [dbo].[Order]
GO
CREATE TRIGGER [dbo].[trvOrder] ON [dbo].[vOrder] INSTEAD OF INSERT AS
INSERT INTO [dbo].[Order] ([From], [To]) SELECT [From], [To] FROM inserted
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Features of a database, Возможности'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Sales, with a blank',
    @level0type = N'SCHEMA', @level0name = N'Sales Dept'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Order lines: it''s 行',
    @level0type = N'SCHEMA', @level0name = N'Sales Dept', @level1type = N'TABLE', @level1name = N'Order Lines'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'How many',
    @level0type = N'SCHEMA', @level0name = N'Sales Dept', @level1type = N'TABLE', @level1name = N'Order Lines',
    @level2type = N'COLUMN', @level2name = N'Qty'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'An odd column',
    @level0type = N'SCHEMA', @level0name = N'it''s.odd', @level1type = N'TABLE', @level1name = N'Table.With "Quotes''',
    @level2type = N'COLUMN', @level2name = N'a.b c'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Orders as a view',
    @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'VIEW', @level1name = N'vOrder'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'A reserved name',
    @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'PROCEDURE', @level1name = N'select'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'Doubles',
    @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'FUNCTION', @level1name = N'Twice'
GO
EXEC sys.sp_addextendedproperty @name = N'MS_Description', @value = N'A phone number',
    @level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TYPE', @level1name = N'Phone'
GO
