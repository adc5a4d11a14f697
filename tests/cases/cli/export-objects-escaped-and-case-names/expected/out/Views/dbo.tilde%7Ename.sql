SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[tilde~name]', 'V') IS NOT NULL 
DROP VIEW [dbo].[tilde~name] 
GO


CREATE VIEW [dbo].[tilde~name]
AS
SELECT 1 AS One
GO

