ALTER ROLE [db_datareader] ADD MEMBER [readers];
GO
ALTER ROLE [db_datawriter] ADD MEMBER [CONTOSO\Sales];
GO
ALTER ROLE [odd]] role's] ADD MEMBER [report_user];
GO
ALTER ROLE [readers] ADD MEMBER [odd]] role's];
GO
ALTER ROLE [writers] ADD MEMBER [app_user];
GO
ALTER AUTHORIZATION ON OBJECT::[dbo].[History] TO [writers];
GO
ALTER AUTHORIZATION ON OBJECT::[dbo].[OrderNo] TO [app_user];
GO
GRANT ALTER ON APPLICATION ROLE::[ledger's app] TO [readers];
GO
GRANT CONNECT TO [app_user];
GRANT CREATE TABLE TO [writers];
GRANT CREATE VIEW TO [writers] WITH GRANT OPTION;
DENY SHOWPLAN TO [report_user];
GO
GRANT CONTROL ON ROLE::[odd]] role's] TO [writers];
GO
DENY ALTER ON SCHEMA::[odd]] name] TO [report_user];
GO
GRANT SELECT ON SCHEMA::[sales] TO [readers];
GRANT EXECUTE ON SCHEMA::[sales] TO [ledger's app] WITH GRANT OPTION;
GO
GRANT IMPERSONATE ON USER::[report_user] TO [app_user];
GO
GRANT SELECT ON OBJECT::[dbo].[Cust] TO [readers];
GO
GRANT SELECT ON OBJECT::[dbo].[Customer] TO [readers];
GRANT UPDATE ([Name]) ON OBJECT::[dbo].[Customer] TO [writers];
REVOKE SELECT ([Notes]) ON OBJECT::[dbo].[Customer] FROM [readers];
GO
GRANT EXECUTE ON OBJECT::[dbo].[fnTax] TO [readers];
GO
GRANT UPDATE ON OBJECT::[dbo].[OrderNo] TO [writers];
GO
GRANT EXECUTE ON OBJECT::[dbo].[pEven] TO [app_user];
GO
GRANT EXECUTE ON TYPE::[dbo].[Phone] TO [readers];
GO
GRANT SELECT ON OBJECT::[dbo].[vCustomer] TO [public];
GO
GRANT REFERENCES ON XML SCHEMA COLLECTION::[dbo].[OrderSchema] TO [readers];
GO
GRANT INSERT ON OBJECT::[sales].[Orders] TO [writers] WITH GRANT OPTION;
DENY DELETE ON OBJECT::[sales].[Orders] TO [odd]] role's];
GO
GRANT REFERENCES ON TYPE::[sales].[LineList] TO [writers];
GO
