GRANT INSERT ON OBJECT::[sales].[Orders] TO [writers] WITH GRANT OPTION;
DENY DELETE ON OBJECT::[sales].[Orders] TO [odd]] role's];
GO
