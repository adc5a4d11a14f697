SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[LongProc]', 'P') IS NOT NULL 
DROP PROCEDURE [dbo].[LongProc] 
GO


{LongProc}
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Search]', 'P') IS NOT NULL 
DROP PROCEDURE [dbo].[Search] 
GO


CREATE PROCEDURE [dbo].[Search] @Имя nvarchar(20) AS
/* поиск по имени: 名前で検索 */
SELECT [Id], [Name] FROM [dbo].[Orders] WHERE [Name] = @Имя OR [Name] = N'東京'
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
