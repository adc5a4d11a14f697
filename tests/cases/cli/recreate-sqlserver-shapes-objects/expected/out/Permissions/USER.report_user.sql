GRANT IMPERSONATE ON USER::[report_user] TO [app_user];
GO
