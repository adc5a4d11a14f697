ALTER ROLE [odd]] role's] ADD MEMBER [report_user];
GO
