SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Заказы]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Заказы] 
GO


CREATE VIEW [dbo].[Заказы]
AS
SELECT 1 AS One
GO

