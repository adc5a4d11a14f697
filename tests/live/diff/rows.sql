-- Lookup tables and the table that references them, with their rows, for diff --data-tables: keys of int,
-- char and a unique constraint on a heap, an identity column, a value beyond ASCII. rows-changed.sql changes
-- the rows of a copy, and leaves out an index; dbo.Log has no key.
CREATE TABLE [dbo].[Status] ([StatusId] int NOT NULL CONSTRAINT [PK_Status] PRIMARY KEY, [Name] nvarchar(60)
    NOT NULL, [Code] char(2) NULL)
GO
CREATE TABLE [dbo].[Country] ([Code] char(2) NOT NULL CONSTRAINT [PK_Country] PRIMARY KEY, [Name]
    nvarchar(60) NOT NULL)
GO
CREATE TABLE [dbo].[Ticket] ([TicketId] int IDENTITY(1, 1) NOT NULL CONSTRAINT [PK_Ticket] PRIMARY KEY,
    [StatusId] int NOT NULL CONSTRAINT [FK_Ticket_Status] REFERENCES [dbo].[Status] ([StatusId]),
    [Country] char(2) NULL CONSTRAINT [FK_Ticket_Country] REFERENCES [dbo].[Country] ([Code]),
    [Title] varchar(100) NULL)
GO
CREATE INDEX [IX_Ticket_Title] ON [dbo].[Ticket] ([Title])
GO
CREATE TABLE [dbo].[Tag] ([Name] varchar(20) NOT NULL CONSTRAINT [UQ_Tag] UNIQUE NONCLUSTERED,
    [Weight] decimal(5, 2) NULL)
GO
CREATE TABLE [dbo].[Log] ([Message] varchar(100) NULL)
GO
INSERT INTO [dbo].[Status] ([StatusId], [Name], [Code]) VALUES (1, N'New', 'NE'), (2, N'Opened', 'OP'),
    (3, N'Closed', 'CL'), (5, N'Reopened', NULL)
GO
INSERT INTO [dbo].[Country] ([Code], [Name]) VALUES ('DE', N'Germany'), ('FR', N'France'), ('JP', N'日本')
GO
SET IDENTITY_INSERT [dbo].[Ticket] ON
INSERT INTO [dbo].[Ticket] ([TicketId], [StatusId], [Country], [Title]) VALUES (1, 1, 'DE', 'First'),
    (2, 2, 'FR', 'It''s open'), (3, 5, NULL, 'Back again')
SET IDENTITY_INSERT [dbo].[Ticket] OFF
GO
INSERT INTO [dbo].[Tag] ([Name], [Weight]) VALUES ('bug', 1.50), ('feature', 2.00), ('question', NULL)
GO
INSERT INTO [dbo].[Log] ([Message]) VALUES ('started')
GO
