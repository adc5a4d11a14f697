CREATE TABLE [Production].[Document] (
    [DocumentID] [int] NOT NULL,
    [rowguid] [uniqueidentifier] ROWGUIDCOL NOT NULL,
    [FileExtension] [nvarchar](8) NOT NULL,
    [Document] [varbinary](max) NULL,
    CONSTRAINT [PK_Document_DocumentID] PRIMARY KEY CLUSTERED ([DocumentID] ASC)
);
GO
