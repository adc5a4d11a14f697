SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[orders]', 'V') IS NOT NULL 
DROP VIEW [dbo].[orders] 
GO


CREATE VIEW [dbo].[orders]
AS
SELECT 1 AS One
GO

