SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[a/b]', 'V') IS NOT NULL 
DROP VIEW [dbo].[a/b] 
GO


CREATE VIEW [dbo].[a/b]
AS
SELECT 1 AS One
GO

