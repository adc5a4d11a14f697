CREATE TABLE [Purchasing].[Suppliers] (
    [SupplierID] [int] NOT NULL,
    [SupplierName] [nvarchar](100) NOT NULL,
    [PhoneNumber] [nvarchar](20) MASKED WITH (FUNCTION = 'default()') NOT NULL,
    [BankAccountNumber] [nvarchar](20) MASKED WITH (FUNCTION = 'partial(0, "XXXXXXXX", 4)') NULL,
    CONSTRAINT [PK_Purchasing_Suppliers] PRIMARY KEY CLUSTERED ([SupplierID] ASC)
);
GO
