INSERT INTO [sales].[Regions] ([Code], [Name]) VALUES
('NE', 'North East'),
('SW', 'South West');
GO
