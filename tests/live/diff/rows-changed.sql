-- Changes made to a copy of rows.sql's database: a status retired (its ticket moved to a new one) and one
-- renamed, a country gone (its ticket's reference cleared) and one renamed, a ticket added and one deleted, a
-- tag's weight changed, one gone and one new; and the index on the tickets' titles dropped.
DROP INDEX [IX_Ticket_Title] ON [dbo].[Ticket]
GO
INSERT INTO [dbo].[Status] ([StatusId], [Name], [Code]) VALUES (4, N'Waiting', 'WA')
GO
UPDATE [dbo].[Ticket] SET [StatusId] = 4 WHERE [TicketId] = 3
GO
DELETE FROM [dbo].[Status] WHERE [StatusId] = 5
GO
UPDATE [dbo].[Status] SET [Name] = N'Open', [Code] = 'OO' WHERE [StatusId] = 2
GO
UPDATE [dbo].[Ticket] SET [Country] = NULL WHERE [TicketId] = 2
GO
DELETE FROM [dbo].[Country] WHERE [Code] = 'FR'
GO
UPDATE [dbo].[Country] SET [Name] = N'Nippon' WHERE [Code] = 'JP'
GO
DELETE FROM [dbo].[Ticket] WHERE [TicketId] = 1
GO
SET IDENTITY_INSERT [dbo].[Ticket] ON
INSERT INTO [dbo].[Ticket] ([TicketId], [StatusId], [Country], [Title]) VALUES (4, 3, 'JP', 'Extra')
SET IDENTITY_INSERT [dbo].[Ticket] OFF
GO
UPDATE [dbo].[Tag] SET [Weight] = 2.50 WHERE [Name] = 'feature'
GO
DELETE FROM [dbo].[Tag] WHERE [Name] = 'question'
GO
INSERT INTO [dbo].[Tag] ([Name], [Weight]) VALUES ('idea', 0.75)
GO
