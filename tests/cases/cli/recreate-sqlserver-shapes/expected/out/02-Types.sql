CREATE XML SCHEMA COLLECTION [dbo].[OrderSchema] AS N'<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema"><xsd:element name="order" type="xsd:string" /></xsd:schema>';
GO
CREATE TYPE [dbo].[Phone] FROM [varchar](24) NOT NULL;
GO
CREATE TYPE [sales].[LineList] AS TABLE (
    [Line] [int] NOT NULL,
    [Qty] [decimal](9, 2) NULL DEFAULT ((1)),
    [Note] [nvarchar](50) NULL,
    PRIMARY KEY CLUSTERED ([Line] ASC),
    CHECK ([Qty]>(0)),
    INDEX [IX_Qty] NONCLUSTERED ([Qty] DESC)
);
GO
