CREATE   INDEX [ix_name] ON [dbo].[Orders]([Name]) ON [PRIMARY]
GO 

