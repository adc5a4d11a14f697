CREATE TYPE [dbo].[amount] FROM [decimal](12, 3) NULL;
GO
CREATE TYPE [dbo].[phone] FROM [varchar](24) NOT NULL;
GO
CREATE TYPE [it's.odd].[code type] FROM [nchar](4) NULL;
GO
CREATE TYPE [hr].[linelist] AS TABLE (
    [Line] [int] NOT NULL,
    [Qty] [decimal](9, 2) NULL,
    [Note] [nvarchar](50) COLLATE SQL_Latin1_General_CP1_CS_AS NULL,
    PRIMARY KEY CLUSTERED ([Line] ASC),
    CHECK ((qty > 0))
);
GO
