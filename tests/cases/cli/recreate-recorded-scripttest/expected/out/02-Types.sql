CREATE TYPE [dbo].[amount] FROM [decimal](18, 4) NULL;
GO
CREATE TYPE [dbo].[code] FROM [varchar](10) NULL;
GO
CREATE TYPE [dbo].[flag] FROM [bit] NOT NULL;
GO
CREATE TYPE [dbo].[shortname] FROM [nvarchar](20) NOT NULL;
GO
