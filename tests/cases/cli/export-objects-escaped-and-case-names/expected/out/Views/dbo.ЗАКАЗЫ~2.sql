SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[ЗАКАЗЫ]', 'V') IS NOT NULL 
DROP VIEW [dbo].[ЗАКАЗЫ] 
GO


CREATE VIEW [dbo].[ЗАКАЗЫ]
AS
SELECT 1 AS One
GO

