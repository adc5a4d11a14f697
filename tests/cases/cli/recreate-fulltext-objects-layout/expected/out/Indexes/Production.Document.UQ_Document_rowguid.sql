CREATE UNIQUE NONCLUSTERED INDEX [UQ_Document_rowguid] ON [Production].[Document] ([rowguid] ASC);
GO
