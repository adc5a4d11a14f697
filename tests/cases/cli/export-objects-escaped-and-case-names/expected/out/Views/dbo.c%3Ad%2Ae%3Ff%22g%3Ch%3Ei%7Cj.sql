SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[c:d*e?f"g<h>i|j]', 'V') IS NOT NULL 
DROP VIEW [dbo].[c:d*e?f"g<h>i|j] 
GO


CREATE VIEW [dbo].[c:d*e?f"g<h>i|j]
AS
SELECT 1 AS One
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
