-- Version 1 of the demo's small shop database (samples/record makes its catalog snapshot from a server).
CREATE SCHEMA sales;
GO
CREATE TABLE dbo.Customer (
    CustomerId int IDENTITY(1, 1) NOT NULL CONSTRAINT pk_customer PRIMARY KEY,
    Name nvarchar(100) NOT NULL,
    Email varchar(200) NULL,
    Fax varchar(20) NULL
);
CREATE TABLE dbo.Product (
    ProductId int NOT NULL CONSTRAINT pk_product PRIMARY KEY,
    Name nvarchar(50) NOT NULL,
    Price decimal(10, 2) NOT NULL CONSTRAINT ck_product_price CHECK (Price >= 0)
);
CREATE TABLE sales.Orders (
    OrderId int IDENTITY(1, 1) NOT NULL CONSTRAINT pk_orders PRIMARY KEY,
    CustomerId int NOT NULL CONSTRAINT fk_orders_customer REFERENCES dbo.Customer (CustomerId),
    OrderedOn date NOT NULL
);
CREATE TABLE sales.OrderLine (
    OrderId int NOT NULL CONSTRAINT fk_orderline_orders REFERENCES sales.Orders (OrderId),
    LineNumber int NOT NULL,
    ProductId int NOT NULL CONSTRAINT fk_orderline_product REFERENCES dbo.Product (ProductId),
    Quantity int NOT NULL CONSTRAINT ck_orderline_quantity CHECK (Quantity > 0),
    CONSTRAINT pk_orderline PRIMARY KEY (OrderId, LineNumber)
);
CREATE INDEX ix_orders_customer ON sales.Orders (CustomerId);
GO
CREATE VIEW sales.OrderTotal AS
SELECT o.OrderId, o.CustomerId, SUM(l.Quantity * p.Price) AS Total
FROM sales.Orders AS o
JOIN sales.OrderLine AS l ON l.OrderId = o.OrderId
JOIN dbo.Product AS p ON p.ProductId = l.ProductId
GROUP BY o.OrderId, o.CustomerId;
GO
INSERT INTO dbo.Customer (Name, Email) VALUES (N'Anna Berg', 'anna@example.com'), (N'Jörg Müller', NULL);
INSERT INTO dbo.Product (ProductId, Name, Price) VALUES (1, N'Tea, 100 g', 4.50), (2, N'Cup', 7.25);
INSERT INTO sales.Orders (CustomerId, OrderedOn) VALUES (1, '2024-03-01'), (2, '2024-03-02');
INSERT INTO sales.OrderLine (OrderId, LineNumber, ProductId, Quantity) VALUES (1, 1, 1, 2), (1, 2, 2, 1), (2, 1, 1, 1);
GO
