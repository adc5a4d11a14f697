SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE PROCEDURE [dbo].[select] @x int = 5, @Name nvarchar(20) = N'it''s' AS
SELECT @x AS [x], @Name AS [it's], [dbo].[Twice](@x) AS [Twice]
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE PROCEDURE [hr].[Raise] @EmployeeID int, @Lines [hr]. LineList  READONLY AS
BEGIN
    SET NOCOUNT ON
    UPDATE [hr].[Employees] SET [Salary] = [Salary] * 1.1 WHERE [EmployeeID] = @EmployeeID
    SELECT COUNT(*) FROM @Lines
END
GO
