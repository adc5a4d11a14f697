
CREATE TABLE [dbo].[Calc] (
 	[Price] [decimal](10, 2) NOT NULL,
	[Qty] [int] NULL,
	[Total] AS ([Price]*[Qty]) PERSISTED NOT NULL,
	[Label] AS (''Qty: ''+CONVERT([varchar](10),[Qty]))  ,
	[Size] AS (case when [Qty]>(9) then ''big''
else ''small'' end) PERSISTED NULL )
GO 