SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[tab	name]', 'V') IS NOT NULL 
DROP VIEW [dbo].[tab	name] 
GO


CREATE VIEW [dbo].[tab	name]
AS
SELECT 1 AS One
GO

