CREATE TABLE [dbo].[Customers] (
    [CustomerID] [int] NOT NULL,
    [Name] [nvarchar](40) NOT NULL,
    CONSTRAINT [pk_customers] PRIMARY KEY CLUSTERED ([CustomerID] ASC)
);
GO
