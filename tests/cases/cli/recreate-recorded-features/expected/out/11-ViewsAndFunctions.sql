SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW [dbo].[vOrder] AS SELECT [From], [To] FROM [dbo].[Order]
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW [hr].[Active Employees] AS
SELECT [EmployeeID], [FirstName], [LastName], [RegionID]
FROM [hr].[Employees]
WHERE [IsActive] = 1 AND [ManagerID] <> NULL
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW [hr].[Active Count] AS SELECT COUNT(*) AS [N] FROM [hr].[Active Employees]
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW [hr].[Checked Regions] WITH SCHEMABINDING AS
SELECT [RegionID], [Name] FROM [dbo].[Region] WHERE [Weight] > 0
WITH CHECK OPTION
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE VIEW [it's.odd].[View 'x'] AS SELECT [Key] AS [k.1], "Select" AS [it's] FROM [it's.odd].[Table.With "Quotes']
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE FUNCTION [dbo].[NullIn] (@n int) RETURNS int WITH RETURNS NULL ON NULL INPUT, SCHEMABINDING AS BEGIN RETURN @n + 1 END
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE FUNCTION [hr].[EmployeesOf] (@RegionID int) RETURNS TABLE AS
RETURN (SELECT [EmployeeID], [Upper Name] FROM [hr].[Employees] WHERE [RegionID] = @RegionID)
GO
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO
CREATE FUNCTION [hr].[Lines] (@EmployeeID int)
RETURNS @Result TABLE ([LineNo] bigint PRIMARY KEY, [Qty] decimal(9, 2))
AS
BEGIN
    INSERT INTO @Result SELECT [LineNo], [Qty] FROM [Sales Dept].[Order Lines] WHERE [EmployeeID] = @EmployeeID
    RETURN
END
GO
