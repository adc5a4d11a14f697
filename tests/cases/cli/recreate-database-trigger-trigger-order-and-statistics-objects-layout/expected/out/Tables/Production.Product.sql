CREATE TABLE [Production].[Product] (
    [ProductID] [int] NOT NULL,
    [Name] [nvarchar](50) NOT NULL,
    [Color] [nvarchar](15) NULL,
    [ListPrice] [decimal](19, 4) NOT NULL,
    [SellStartDate] [datetime2](7) NOT NULL,
    CONSTRAINT [PK_Product_ProductID] PRIMARY KEY CLUSTERED ([ProductID] ASC)
);
GO
