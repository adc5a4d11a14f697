-- Migration written by sqlscripts 0.1.0 at 2023-11-14 22:13:20 UTC
SET XACT_ABORT ON;
BEGIN TRANSACTION;
GO
IF @@TRANCOUNT = 0 THROW 50000, N'An earlier statement of this migration failed.', 1;
ALTER TABLE [dbo].[Customer] ADD [Phone] [varchar](20) NULL;
GO
BEGIN TRAN
INSERT INTO dbo.T VALUES (1);
GO
CREATE PROCEDURE dbo.usp_Commit AS
    COMMIT TRANSACTION;
GO
IF @@TRANCOUNT > 0 ROLLBACK;
GO
COMMIT TRANSACTION;
GO
