SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[Greeting]', 'FN') IS NOT NULL 
DROP FUNCTION [dbo].[Greeting] 
GO


CREATE FUNCTION [dbo].[Greeting] (@Имя nvarchar(20)) RETURNS nvarchar(60) AS
BEGIN
    RETURN N'Здравствуйте, ' + @Имя + N'! こんにちは'
END
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
