CREATE TABLE [sales].[Orders] (
    [OrderId] [bigint] NOT NULL CONSTRAINT [DF_Orders_OrderId] DEFAULT (NEXT VALUE FOR [dbo].[OrderNo]),
    [CustomerId] [int] NOT NULL,
    [Amount] [decimal](19, 4) NULL,
    [Tax] AS ([dbo].[fnTax]([Amount])) PERSISTED NOT NULL,
    [At] [time](7) NULL,
    [Zone] [datetimeoffset](2) NULL,
    [Status] [char](1) NOT NULL CONSTRAINT [DF_Orders_Status] DEFAULT ('N'),
    CONSTRAINT [PK_Orders] PRIMARY KEY CLUSTERED ([OrderId] DESC)
);
GO
