SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[my:schema].[x]', 'V') IS NOT NULL 
DROP VIEW [my:schema].[x] 
GO


CREATE VIEW [my:schema].[x]
AS
SELECT 1 AS One
GO

