CREATE TABLE [Sales].[ShoppingCarts] (
    [CartID] [int] NOT NULL,
    [CustomerID] [int] NOT NULL,
    [Created] [datetime2](7) NOT NULL,
    CONSTRAINT [PK_Sales_ShoppingCarts] PRIMARY KEY NONCLUSTERED HASH ([CartID]) WITH (BUCKET_COUNT = 1048576)
) WITH (MEMORY_OPTIMIZED = ON, DURABILITY = SCHEMA_ONLY);
GO
