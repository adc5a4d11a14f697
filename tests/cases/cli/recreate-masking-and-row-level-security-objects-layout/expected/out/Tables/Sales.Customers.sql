CREATE TABLE [Sales].[Customers] (
    [CustomerID] [int] NOT NULL,
    [CustomerName] [nvarchar](100) NOT NULL,
    [DeliveryCityID] [int] NOT NULL,
    [EmailAddress] [nvarchar](256) MASKED WITH (FUNCTION = 'email()') NULL,
    [CreditLimit] [decimal](18, 2) MASKED WITH (FUNCTION = 'random(1, 100)') NULL,
    CONSTRAINT [PK_Sales_Customers] PRIMARY KEY CLUSTERED ([CustomerID] ASC)
);
GO
