-- The data test's own database: a table for each family of types with its edge values, a table that
-- references itself, two that reference each other, identity with gaps, computed columns, a heap, a
-- descending key, odd names and a schema of its own. Rows are inserted against their keys' order (a child
-- before its parent) where the foreign keys allow it.
CREATE SCHEMA [sales]
GO
CREATE TYPE [dbo].[phone] FROM varchar(20) NULL
GO
CREATE TABLE [dbo].[numbers] (
    [id] int NOT NULL PRIMARY KEY,
    [ti] tinyint NULL, [si] smallint NULL, [i] int NULL, [bi] bigint NULL, [b] bit NULL,
    [d] decimal(38, 10) NULL, [n] numeric(5, 0) NULL, [d0] decimal(38, 0) NULL,
    [m] money NULL, [sm] smallmoney NULL, [f] float NULL, [r] real NULL, [f24] float(24) NULL)
GO
INSERT INTO [dbo].[numbers] VALUES
(1, 0, -32768, -2147483648, -9223372036854775808, 0, -9999999999999999999999999999.9999999999, -99999,
    -99999999999999999999999999999999999999, -922337203685477.5808, -214748.3648,
    -1.7976931348623157E+308, -3.4028234663852886E+38, -3.4028234663852886E+38),
(2, 255, 32767, 2147483647, 9223372036854775807, 1, 9999999999999999999999999999.9999999999, 99999,
    99999999999999999999999999999999999999, 922337203685477.5807, 214748.3647,
    1.7976931348623157E+308, 3.4028234663852886E+38, 3.4028234663852886E+38),
(3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
(4, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(5, 1, -1, -1, -1, 1, 0.0000000001, -1, 1, 0.0001, -0.0001,
    4.9406564584124654E-324, 1.401298464324817E-45, 1.1754943508222875E-38),
(6, 7, 7, 7, 7, 1, 3.1415926535, 3, 7, 3.1416, 3.1416,
    0.1, 0.1, 0.30000001192092896)
GO
-- A float's negative zero: a literal -0.0 is a decimal here and loses its sign.
INSERT INTO [dbo].[numbers] ([id], [f], [r]) VALUES (7, -CAST(0 AS float), -CAST(0 AS real))
GO
INSERT INTO [dbo].[numbers] ([id], [f], [r]) VALUES (8, 2.2250738585072014E-308, 16777216)
GO
INSERT INTO [dbo].[numbers] ([id], [f], [r]) VALUES (9, 123456789012345680, 0.333333343267440796)
GO
CREATE TABLE [dbo].[strings] (
    [id] int NOT NULL PRIMARY KEY,
    [c] char(10) NULL, [vc] varchar(200) NULL, [vcmax] varchar(max) NULL,
    [nc] nchar(10) NULL, [nvc] nvarchar(200) NULL, [nvcmax] nvarchar(max) NULL,
    [t] text NULL, [nt] ntext NULL, [x] xml NULL, [p] [dbo].[phone] NULL, [s] sysname NULL)
GO
INSERT INTO [dbo].[strings] VALUES
(1, '', '', '', N'', N'', N'', '', N'', N'', '', N''),
(2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(3, 'it''s', '''quoted''', 'a '' b', N'''', N'''''', N'it''s', 'don''t', N'won''t', N'<a q="''">''</a>', '''', N'o''name'),
(4, 'trail   ', '  lead and trail  ', ' ', N' ', N'trail ', N'   ', ' ', N' ', N'<a> x </a>', ' 1 ', N' '),
(5, 'café', 'Ünïcödé €', 'naïve – ß', N'€', N'Привет, 世界', N'😀 𝄞 outside the plane', 'Größe', N'日本語', N'<a>Ж😀</a>', 'é', N'ß')
GO
INSERT INTO [dbo].[strings] ([id], [vc], [nvc], [vcmax], [nvcmax], [t], [nt], [x]) VALUES
(6, 'line one' + CHAR(13) + CHAR(10) + 'line two', N'tab' + NCHAR(9) + N'bed', 'lf' + CHAR(10) + 'only',
    N'cr' + NCHAR(13) + N'only', 'x' + CHAR(10) + 'GO' + CHAR(10) + 'y', N'bell ' + NCHAR(7) + N' and ' + NCHAR(1),
    N'<a>' + NCHAR(10) + N'</a>')
GO
INSERT INTO [dbo].[strings] ([id], [vcmax], [nvcmax], [vc], [nvc]) VALUES
(7, REPLICATE(CAST('0123456789' AS varchar(max)), 20000) + CHAR(10) + 'end',
    REPLICATE(CAST(N'Жж😀 ' AS nvarchar(max)), 30000) + NCHAR(13) + NCHAR(10) + N'конец',
    REPLICATE('v', 200), REPLICATE(N'ж', 200))
GO
CREATE TABLE [dbo].[binaries] (
    [id] int NOT NULL PRIMARY KEY,
    [bn] binary(8) NULL, [vb] varbinary(100) NULL, [vbmax] varbinary(max) NULL, [img] image NULL)
GO
INSERT INTO [dbo].[binaries] VALUES
(1, 0x0000000000000000, 0x, 0x, 0x),
(2, NULL, NULL, NULL, NULL),
(3, 0xFFFFFFFFFFFFFFFF, 0x00FF00FF, 0x0D0A2700, 0xDEADBEEF),
(4, 0x01, 0x0100, 0x000000, 0x00)
GO
INSERT INTO [dbo].[binaries] ([id], [vbmax], [img]) VALUES
(5, CAST(REPLICATE(CAST('0123456789abcdef' AS varchar(max)), 40000) AS varbinary(max)),
    CAST(REPLICATE(CAST('xy' AS varchar(max)), 10000) AS varbinary(max)))
GO
CREATE TABLE [dbo].[times] (
    [id] int NOT NULL PRIMARY KEY,
    [d] date NULL, [t] time(7) NULL, [t0] time(0) NULL, [dt] datetime NULL, [sdt] smalldatetime NULL,
    [dt2] datetime2(7) NULL, [dt23] datetime2(3) NULL, [dto] datetimeoffset(7) NULL, [dto0] datetimeoffset(0) NULL)
GO
INSERT INTO [dbo].[times] VALUES
(1, '0001-01-01', '00:00:00', '00:00:00', '1753-01-01T00:00:00', '1900-01-01T00:00:00',
    '0001-01-01T00:00:00', '0001-01-01T00:00:00', '0001-01-01T00:00:00+00:00', '0001-01-01T00:00:00-00:00'),
(2, '9999-12-31', '23:59:59.999999', '23:59:59', '9999-12-31T23:59:59.997', '2079-06-06T23:59:00',
    '9999-12-31T23:59:59.999999', '9999-12-31T23:59:59.999', '9999-12-31T23:59:59.999999+00:00',
    '9999-12-31T09:59:59-14:00'),
(3, '2020-02-29', '12:34:56.123456', '12:34:56', '2020-02-29T12:34:56.003', '2020-02-29T12:34:00',
    '2020-02-29T12:34:56.123456', '2020-02-29T12:34:56.123', '2020-02-29T12:34:56.123456+14:00',
    '2020-02-29T12:34:56-05:30'),
(4, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(5, '1970-01-01', '00:00:00.000001', '00:00:01', '2000-01-01T00:00:00.007', '2000-01-01T00:01:00',
    '1970-01-01T00:00:00.000001', '1970-01-01T00:00:00.001', '1970-01-01T00:00:00.000001-14:00',
    '1970-01-01T00:00:00+05:45')
GO
CREATE TABLE [dbo].[others] (
    [id] int NOT NULL PRIMARY KEY,
    [u] uniqueidentifier NULL, [v] sql_variant NULL)
GO
INSERT INTO [dbo].[others] VALUES
(1, '00000000-0000-0000-0000-000000000000', CAST(7 AS int)),
(2, 'FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF', CAST(1.50 AS decimal(5, 2))),
(3, 'B4E3C6A2-1D3F-4E5A-9B7C-0123456789AB', CAST(0.1 AS float)),
(4, NULL, CAST('2020-01-02T03:04:05.003' AS datetime)),
(5, NULL, CAST(N'Привет' AS nvarchar(20))),
(6, NULL, CAST('text' AS varchar(10))),
(7, NULL, CAST(0x0102 AS varbinary(10))),
(8, NULL, CAST('2020-01-02' AS date)),
(9, NULL, CAST(12.3456 AS money)),
(10, NULL, NULL),
(11, NULL, CAST(-9223372036854775808 AS bigint)),
(12, NULL, CAST('B4E3C6A2-1D3F-4E5A-9B7C-0123456789AB' AS uniqueidentifier))
GO
-- Identity values with gaps and a computed column: the values come back as they were, the computed one
-- is computed again.
CREATE TABLE [dbo].[identities] (
    [id] int IDENTITY(100, 10) NOT NULL PRIMARY KEY, [name] nvarchar(20) NULL, [twice] AS ([id] * 2))
GO
INSERT INTO [dbo].[identities] ([name]) VALUES (N'a'), (N'b'), (N'c'), (N'd')
GO
DELETE FROM [dbo].[identities] WHERE [name] = N'b'
GO
CREATE TABLE [dbo].[only_identity] ([id] bigint IDENTITY(-1, -1) NOT NULL PRIMARY KEY)
GO
INSERT INTO [dbo].[only_identity] DEFAULT VALUES
GO
INSERT INTO [dbo].[only_identity] DEFAULT VALUES
GO
-- A tree: children inserted before their parents would need the foreign key out of the way.
CREATE TABLE [dbo].[tree] ([id] int NOT NULL PRIMARY KEY, [parent] int NULL, [label] nvarchar(20) NOT NULL,
    CONSTRAINT [fk_tree_parent] FOREIGN KEY ([parent]) REFERENCES [dbo].[tree] ([id]))
GO
INSERT INTO [dbo].[tree] VALUES (5, NULL, N'root')
GO
INSERT INTO [dbo].[tree] VALUES (3, 5, N'child'), (1, 3, N'grandchild'), (4, 5, N'second child')
GO
-- Two tables that reference each other.
CREATE TABLE [dbo].[husband] ([id] int NOT NULL PRIMARY KEY, [wife] int NULL)
GO
CREATE TABLE [dbo].[wife] ([id] int NOT NULL PRIMARY KEY, [husband] int NULL,
    CONSTRAINT [fk_wife_husband] FOREIGN KEY ([husband]) REFERENCES [dbo].[husband] ([id]))
GO
INSERT INTO [dbo].[husband] VALUES (1, NULL), (2, NULL)
GO
INSERT INTO [dbo].[wife] VALUES (10, 1), (20, 2)
GO
UPDATE [dbo].[husband] SET [wife] = [id] * 10
GO
ALTER TABLE [dbo].[husband] ADD CONSTRAINT [fk_husband_wife] FOREIGN KEY ([wife]) REFERENCES [dbo].[wife] ([id])
GO
-- A child table in another schema, a heap, a descending key and odd names.
CREATE TABLE [sales].[order lines] ([order's no.] int NOT NULL, [select] int NOT NULL, [qty] smallint NULL,
    CONSTRAINT [pk_order_lines] PRIMARY KEY ([order's no.] DESC, [select]),
    CONSTRAINT [fk_lines_tree] FOREIGN KEY ([select]) REFERENCES [dbo].[tree] ([id]))
GO
INSERT INTO [sales].[order lines] VALUES (1, 1, 10), (1, 3, NULL), (2, 1, 5), (10, 5, -1)
GO
CREATE TABLE [dbo].[heap] ([a] int NULL, [b] nvarchar(10) NULL)
GO
INSERT INTO [dbo].[heap] VALUES (2, N'two'), (1, N'one'), (NULL, NULL)
GO
CREATE TABLE [dbo].[empty] ([id] int NOT NULL PRIMARY KEY, [x] int NULL)
GO
-- Enough rows for several statements and batches.
CREATE TABLE [dbo].[many] ([id] int NOT NULL PRIMARY KEY, [v] int NULL)
GO
WITH [n] AS (SELECT TOP 2500 ROW_NUMBER() OVER (ORDER BY (SELECT NULL)) AS [k] FROM sys.all_columns AS [a]
    CROSS JOIN sys.all_columns AS [b])
INSERT INTO [dbo].[many] SELECT [k], [k] % 7 FROM [n]
GO
