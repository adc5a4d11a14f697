SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[it's]', 'V') IS NOT NULL 
DROP VIEW [dbo].[it's] 
GO


CREATE VIEW [dbo].[it's]
AS
SELECT 1 AS One
GO

