CREATE TABLE [dbo].[Orders] (
    [OrderID] [int] IDENTITY(1, 1) NOT NULL,
    [CustomerID] [int] NOT NULL,
    [Placed] [date] NULL,
    CONSTRAINT [pk_orders] PRIMARY KEY CLUSTERED ([OrderID] ASC)
);
GO
