SET QUOTED_IDENTIFIER OFF
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[vLegacy]', 'V') IS NOT NULL 
DROP VIEW [dbo].[vLegacy] 
GO


CREATE VIEW dbo.vLegacy
AS
SELECT 1 AS x
GO

