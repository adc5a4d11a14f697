-- Migration written by sqlscripts 0.1.0 at 2023-11-14 22:13:20 UTC
-- From: catalog snapshot sqlscripts-demo/shop-v1.json
-- To:   catalog snapshot sqlscripts-demo/shop-v2.json
-- The migration is one transaction (SET XACT_ABORT ON): a statement that fails rolls back everything before it, and every batch after it stops at its first line without running.
SET XACT_ABORT ON;
BEGIN TRANSACTION;
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
ALTER TABLE [dbo].[Customer] DROP COLUMN [Fax];
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
ALTER TABLE [dbo].[Customer] ALTER COLUMN [Email] [varchar](320) NULL;
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
ALTER TABLE [dbo].[Customer] ADD [Phone] [varchar](20) NULL;
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
CREATE TABLE [dbo].[Review] (
    [ReviewId] [int] IDENTITY(1, 1) NOT NULL,
    [ProductId] [int] NOT NULL,
    [Stars] [tinyint] NOT NULL,
    [Comment] [nvarchar](400) NULL,
    CONSTRAINT [pk_review] PRIMARY KEY CLUSTERED ([ReviewId] ASC)
);
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
ALTER TABLE [dbo].[Review] ADD CONSTRAINT [ck_review_stars] CHECK (((stars >= 1) AND (stars <= 5)));
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
CREATE NONCLUSTERED INDEX [ix_orderline_product] ON [sales].[OrderLine] ([ProductId] ASC);
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
ALTER TABLE [dbo].[Review] ADD CONSTRAINT [fk_review_product] FOREIGN KEY ([ProductId]) REFERENCES [dbo].[Product] ([ProductId]);
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
EXEC sys.sp_executesql N'CREATE VIEW dbo.ProductRating AS
SELECT p.ProductId, p.Name, COUNT(r.ReviewId) AS Reviews, AVG(CAST(r.Stars AS decimal(3, 2))) AS Stars
FROM dbo.Product AS p
LEFT JOIN dbo.Review AS r ON r.ProductId = p.ProductId
GROUP BY p.ProductId, p.Name;';
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed: it was rolled back whole, and this batch does not run.', 1;
COMMIT TRANSACTION;
GO
