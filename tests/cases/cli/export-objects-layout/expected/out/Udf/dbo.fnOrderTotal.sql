SET QUOTED_IDENTIFIER OFF
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[fnOrderTotal]', 'FN') IS NOT NULL 
DROP FUNCTION [dbo].[fnOrderTotal] 
GO


CREATE FUNCTION dbo.fnOrderTotal (@OrderId int)
RETURNS decimal(29, 2)
AS
BEGIN
	RETURN (SELECT Total FROM dbo.Orders WHERE Id = @OrderId);
END
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
