SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Report]', 'V') IS NOT NULL 
DROP VIEW [dbo].[Report] 
GO


CREATE VIEW [dbo].[Report] AS
-- Итоги по клиентам / 顧客ごとの合計
SELECT [Client] AS [Клиент], N'Привет, 世界' AS [Приветствие], SUM([Prix_€]) AS [合計]
FROM [dbo].[Commandes_Größe]
GROUP BY [Client]
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
