SET IDENTITY_INSERT [dbo].[Shippers] ON;
GO
INSERT INTO [dbo].[Shippers] ([ShipperID], [Phone]) VALUES
(1, 'SET ''x'' (DELETE)'),
(2, NULL);
INSERT [dbo].[Shippers] ([ShipperID]) VALUES (3);
GO
SET IDENTITY_INSERT [dbo].[Shippers] OFF;
GO
INSERT INTO [dbo].[A] (x) VALUES (1);
INSERT INTO [dbo].[B] (x) VALUES (1);
GO
INSERT INTO [dbo].[A] (x) SELECT 1;
GO
ALTER TABLE [dbo].[A] NOCHECK CONSTRAINT [fk_a_b];
GO
DBCC CHECKIDENT ('[dbo].[Shippers]', RESEED, 7);
GO
DBCC CHECKDB;
GO
