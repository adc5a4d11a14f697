IF (SELECT SERVERPROPERTY ( 'IsFullTextInstalled' ) ) = 1
BEGIN
IF (SELECT DATABASEPROPERTY(DB_NAME(), N'IsFullTextEnabled')) <> 1 
	exec sp_fulltext_database N'enable' 

IF( EXISTS( SELECT 1 FROM sys.fulltext_indexes FI INNER JOIN sys.tables T ON FI.object_id = T.object_id WHERE T.schema_id = SCHEMA_ID('dbo') AND T.name = 'Documents' ) )
	DROP FULLTEXT INDEX ON [dbo].[Documents]

IF( EXISTS( SELECT 1 FROM sys.fulltext_indexes FI INNER JOIN sys.tables T ON FI.object_id = T.object_id WHERE T.schema_id = SCHEMA_ID('sales') AND T.name = 'Notes' ) )
	DROP FULLTEXT INDEX ON [sales].[Notes]

IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = 'FT_Main') )
	DROP FULLTEXT CATALOG [FT_Main];
CREATE FULLTEXT CATALOG [FT_Main]  WITH ACCENT_SENSITIVITY = ON AS DEFAULT;

IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = 'FT_Docs') )
	DROP FULLTEXT CATALOG [FT_Docs];
CREATE FULLTEXT CATALOG [FT_Docs]  WITH ACCENT_SENSITIVITY = OFF ;

IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = 'FT_Archive') )
	DROP FULLTEXT CATALOG [FT_Archive];
CREATE FULLTEXT CATALOG [FT_Archive] ON FILEGROUP FG_Archive WITH ACCENT_SENSITIVITY = ON ;

IF( EXISTS( SELECT 1 FROM sys.fulltext_catalogs WHERE name = 'FT_Loose') )
	DROP FULLTEXT CATALOG [FT_Loose];
CREATE FULLTEXT CATALOG [FT_Loose]  WITH ACCENT_SENSITIVITY = ON ;

CREATE FULLTEXT INDEX ON [dbo].[Documents]
(
	Title LANGUAGE 1033,
 	Body TYPE COLUMN 3 LANGUAGE 1049
)
KEY INDEX [PK_Documents] ON [FT_Docs] WITH CHANGE_TRACKING AUTO ;

CREATE FULLTEXT INDEX ON [sales].[Notes]
(
	Text LANGUAGE 0
)
KEY INDEX [UQ_Notes] ON [FT_Main] WITH CHANGE_TRACKING MANUAL , NO POPULATION;

END