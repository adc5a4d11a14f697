CREATE FULLTEXT INDEX ON [Production].[Document] ([Document] TYPE COLUMN [FileExtension] LANGUAGE 0) KEY INDEX [UQ_Document_rowguid] ON [AW2016FullTextCatalog] WITH (CHANGE_TRACKING = OFF, STOPLIST = SYSTEM, SEARCH PROPERTY LIST = [DocumentPropertyList]);
GO
