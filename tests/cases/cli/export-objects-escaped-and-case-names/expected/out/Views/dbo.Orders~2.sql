SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Orders]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Orders] 
GO


CREATE VIEW [dbo].[Orders]
AS
SELECT 1 AS One
GO

