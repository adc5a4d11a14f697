SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[fn_OrderTotal]', 'FN') IS NOT NULL 
DROP FUNCTION [dbo].[fn_OrderTotal] 
GO


CREATE FUNCTION dbo.fn_OrderTotal (@OrderId bigint)
RETURNS decimal(19, 4)
AS
BEGIN
    DECLARE @t decimal(19, 4);
    SELECT @t = SUM(Amount) FROM dbo.OrderLine WHERE OrderId = @OrderId;
    RETURN ISNULL(@t, 0);
END
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
