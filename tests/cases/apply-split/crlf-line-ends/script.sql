CREATE TABLE [dbo].[T] (
    [A] int
);
GO
INSERT INTO [dbo].[T] ([A]) VALUES
(1);
GO
