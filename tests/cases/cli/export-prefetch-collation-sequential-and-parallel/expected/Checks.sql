ALTER TABLE [dbo].[authors] WITH NOCHECK ADD CHECK ((au_id ~~* '[0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9][0-9][0-9]')) 
GO

ALTER TABLE [dbo].[authors] WITH NOCHECK ADD CHECK ((zip ~~* '[0-9][0-9][0-9][0-9][0-9]')) 
GO

ALTER TABLE [dbo].[publishers] WITH NOCHECK ADD CHECK (((pub_id IN ('1389', '0736', '0877', '1622', '1756')) OR ((pub_id ~~* '99[0-9][0-9]') AND ((pub_id >= '99') AND (pub_id < ('99' || '￿' COLLATE latin1_general_ci_as)))))) 
GO

ALTER TABLE [dbo].[jobs] WITH NOCHECK ADD CHECK ((min_lvl >= 10)) 
GO

ALTER TABLE [dbo].[jobs] WITH NOCHECK ADD CHECK ((max_lvl <= 250)) 
GO

ALTER TABLE [dbo].[employee] WITH NOCHECK ADD CHECK (((emp_id ~~* '[A-Z][A-Z][A-Z][1-9][0-9][0-9][0-9][0-9][FM]') OR (emp_id ~~* '[A-Z]-[A-Z][1-9][0-9][0-9][0-9][0-9][FM]'))) 
GO

