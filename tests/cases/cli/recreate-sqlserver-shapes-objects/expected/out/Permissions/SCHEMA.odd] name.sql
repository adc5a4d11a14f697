DENY ALTER ON SCHEMA::[odd]] name] TO [report_user];
GO
