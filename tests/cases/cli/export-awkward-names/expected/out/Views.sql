SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[my schema].[it's [a].b c]', 'V') IS NOT NULL 
DROP VIEW [my schema].[it's [a].b c] 
GO


CREATE VIEW [my schema].[it's [a]].b c] AS SELECT 1 AS [it's]
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
