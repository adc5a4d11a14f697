SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[back\slash]', 'V') IS NOT NULL 
DROP VIEW [dbo].[back\slash] 
GO


CREATE VIEW [dbo].[back\slash]
AS
SELECT 1 AS One
GO

