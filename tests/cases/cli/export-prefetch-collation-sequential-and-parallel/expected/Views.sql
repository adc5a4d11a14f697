SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO 

IF OBJECT_ID( '[dbo].[titleview]', 'V') IS NOT NULL 
DROP VIEW [dbo].[titleview] 
GO


CREATE VIEW titleview
AS
select title, au_ord, au_lname, price, ytd_sales, pub_id
from authors, titles, titleauthor
where authors.au_id = titleauthor.au_id
   AND titles.title_id = titleauthor.title_id
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO
