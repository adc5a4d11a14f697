-- SQL Server refuses full-text statements inside a user transaction; the test server does not, so the batch
-- refuses itself there as SQL Server would.
IF @@TRANCOUNT > 0 THROW 50000, N'CREATE FULLTEXT INDEX statement cannot be used inside a user transaction.', 1;
CREATE FULLTEXT INDEX ON dbo.Docs (Title) KEY INDEX pk_docs;
GO
