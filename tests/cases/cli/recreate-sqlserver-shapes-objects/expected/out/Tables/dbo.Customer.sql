CREATE TABLE [dbo].[Customer] (
    [CustomerId] [int] IDENTITY(1, 1) NOT FOR REPLICATION NOT NULL,
    [Name] [nvarchar](50) COLLATE Latin1_General_CS_AS NOT NULL,
    [Phone] [dbo].[Phone] NOT NULL,
    [Guid] [uniqueidentifier] ROWGUIDCOL NOT NULL,
    [Notes] [nvarchar](max) SPARSE NULL,
    [Props] [xml] COLUMN_SET FOR ALL_SPARSE_COLUMNS,
    [Stamp] [timestamp] NOT NULL,
    [CreatedAt] [datetime2](3) NOT NULL CONSTRAINT [DF_Customer_CreatedAt] DEFAULT (sysdatetime()),
    [Select] [varchar](10) NULL,
    CONSTRAINT [PK_Customer] PRIMARY KEY CLUSTERED ([CustomerId] ASC) WITH (PAD_INDEX = ON, FILLFACTOR = 90, ALLOW_PAGE_LOCKS = OFF),
    CONSTRAINT [UQ_Customer_Name] UNIQUE NONCLUSTERED ([Name] ASC) WITH (IGNORE_DUP_KEY = ON, DATA_COMPRESSION = ROW) ON [FG_ARCHIVE]
);
GO
