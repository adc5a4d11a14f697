-- What turns version 1 of the demo's shop database into version 2: a phone number in place of the fax, that
-- nobody gave, room for longer e-mail addresses, an index, and reviews of the products with a view of their
-- ratings. ALTER COLUMN leaves a column nullable when it says neither NULL nor NOT NULL, and the test server
-- the snapshots are recorded on takes neither there.
ALTER TABLE dbo.Customer ADD Phone varchar(20) NULL;
ALTER TABLE dbo.Customer DROP COLUMN Fax;
ALTER TABLE dbo.Customer ALTER COLUMN Email varchar(320);
CREATE TABLE dbo.Review (
    ReviewId int IDENTITY(1, 1) NOT NULL CONSTRAINT pk_review PRIMARY KEY,
    ProductId int NOT NULL CONSTRAINT fk_review_product REFERENCES dbo.Product (ProductId),
    Stars tinyint NOT NULL CONSTRAINT ck_review_stars CHECK (Stars BETWEEN 1 AND 5),
    Comment nvarchar(400) NULL
);
CREATE INDEX ix_orderline_product ON sales.OrderLine (ProductId);
GO
CREATE VIEW dbo.ProductRating AS
SELECT p.ProductId, p.Name, COUNT(r.ReviewId) AS Reviews, AVG(CAST(r.Stars AS decimal(3, 2))) AS Stars
FROM dbo.Product AS p
LEFT JOIN dbo.Review AS r ON r.ProductId = p.ProductId
GROUP BY p.ProductId, p.Name;
GO
INSERT INTO dbo.Review (ProductId, Stars, Comment) VALUES (1, 5, N'Good tea');
GO
