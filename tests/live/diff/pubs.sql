-- Changes made to a recreated copy of pubs, rows first; the copy is migrated back by sqlscripts diff.
INSERT INTO [dbo].[publishers] ([pub_id], [pub_name], [city], [state]) VALUES ('9911', 'Lucerne', 'Paris', NULL)
GO
INSERT INTO [dbo].[stores] ([stor_id], [stor_name], [city], [zip]) VALUES ('7070', 'Barnum''s', 'Tustin', '92789')
GO
ALTER TABLE [dbo].[publishers] ADD [website] varchar(100) NULL
GO
ALTER TABLE [dbo].[stores] ALTER COLUMN [stor_name] varchar(80)
GO
CREATE UNIQUE INDEX [ix_stores_name] ON [dbo].[stores] ([stor_name], [stor_id])
GO
CREATE TABLE [dbo].[awards] ([award_id] int NOT NULL CONSTRAINT [pk_awards] PRIMARY KEY, [pub_id] char(4) NULL CONSTRAINT [fk_awards_publishers] REFERENCES [dbo].[publishers] ([pub_id]))
GO
