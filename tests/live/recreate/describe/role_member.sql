-- Each role's members, nested roles included.
SELECT QUOTENAME(USER_NAME(role_principal_id)) + ' ' + QUOTENAME(USER_NAME(member_principal_id)) AS [object],
       'yes' AS [member]
FROM sys.database_role_members
