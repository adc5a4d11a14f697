INSERT INTO [sales].[order lines] ([order's no.], [select], [qty]) VALUES
(10, 5, -1),
(2, 1, 5),
(1, 1, 10),
(1, 3, NULL);
GO
