// Users, roles, application roles, role members, owners and permissions.
#include "recreate/DdlText.h"
#include "recreate/DdlWriter.h"
#include "recreate/RecreateKinds.h"

namespace {

template <typename T> const T& Record(TDdlObject object) {
    return *std::get<const T*>(object.object);
}

TStatements Statement(const std::string& strText) {
    return {{strText + ";"}};
}

std::string DefaultSchema(const TModelPrincipal& principal, const char* pszWith) {
    if (principal.strDefaultSchema.empty())
        return std::string();
    return pszWith + std::string("DEFAULT_SCHEMA = ") + QuoteName(principal.strDefaultSchema);
}

// What ON names: OBJECT::[schema].[name], SCHEMA::[name], ...; nothing for the database.
std::string Securable(const TModelPermission& permission) {
    if (permission.strSecurable.empty())
        return std::string();
    const std::string strName = permission.strSchema.empty()
                                    ? QuoteName(permission.strName)
                                    : QuoteName(permission.strSchema, permission.strName);
    return " ON " + permission.strSecurable + "::" + strName;
}

std::string PermissionStatement(const TModelPermission& permission) {
    std::string strText = permission.cState == 'D'   ? "DENY "
                          : permission.cState == 'R' ? "REVOKE "
                                                     : "GRANT ";
    strText += permission.strPermission;
    if (!permission.strColumn.empty())
        strText += " (" + QuoteName(permission.strColumn) + ")";
    strText += Securable(permission);
    strText += (permission.cState == 'R' ? " FROM " : " TO ") + QuoteName(permission.strGrantee);
    if (permission.cState == 'W')
        strText += " WITH GRANT OPTION";
    return strText + ";";
}

} // namespace

TStatements CreateUser(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelPrincipal& user = Record<TModelPrincipal>(object);
    std::string strText = "CREATE USER " + QuoteName(user.strName);
    switch (user.Form()) {
    case eModelPrincipalForm::ForLogin:
        strText += " FOR LOGIN " + QuoteName(user.strLogin);
        break;
    case eModelPrincipalForm::WithoutLogin:
        strText += " WITHOUT LOGIN";
        break;
    default:
        strText += " FROM EXTERNAL PROVIDER";
        break;
    }
    return Statement(strText + DefaultSchema(user, " WITH "));
}

TStatements CreateRole(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelPrincipal& role = Record<TModelPrincipal>(object);
    std::string strText = "CREATE ROLE " + QuoteName(role.strName);
    // dbo, who runs the scripts, owns what they make.
    if (!role.strOwner.empty() && role.strOwner != "dbo")
        strText += " AUTHORIZATION " + QuoteName(role.strOwner);
    return Statement(strText);
}

// The catalog keeps no password to read: the role gets one that nobody knows, so that no one can use it
// until ALTER APPLICATION ROLE gives it one.
TStatements CreateApplicationRole(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelPrincipal& role = Record<TModelPrincipal>(object);
    const std::string strCreate =
        "CREATE APPLICATION ROLE " + QuoteName(role.strName) + " WITH PASSWORD = N'";
    const std::string strRest = "'" + DefaultSchema(role, ", ");
    return {{"DECLARE @password nvarchar(64) = CONVERT(nvarchar(36), NEWID()) + N'aA1!';"},
            {"EXEC (" + UnicodeLiteral(strCreate) + " + @password + " + UnicodeLiteral(strRest) + ");"}};
}

TStatements AddRoleMember(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelRoleMember& member = Record<TModelRoleMember>(object);
    return Statement("ALTER ROLE " + QuoteName(member.strRole) + " ADD MEMBER " +
                     QuoteName(member.strMember));
}

TStatements ChangeOwner(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelOwner& owner = Record<TModelOwner>(object);
    return Statement(
        "ALTER AUTHORIZATION ON OBJECT::" + QuoteName(owner.object.strSchema, owner.object.strName) + " TO " +
        QuoteName(owner.strOwner));
}

TStatements GrantPermissions(TDdlObject object, const TDdlContext& /*context*/) {
    TStatements aStatements;
    for (const TModelPermission* pPermission : std::get<TPermissionSet>(object.object).aPermissions)
        aStatements.push_back({PermissionStatement(*pPermission)});
    return aStatements;
}

TStatements DropPrincipal(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelKey& key = object.key;
    return Statement("IF DATABASE_PRINCIPAL_ID(" + UnicodeLiteral(key.strName) + ") IS NOT NULL DROP " +
                     std::string(RecreateKind(key.eKind).strSqlWord) + " " + QuoteName(key.strName));
}

TStatements DropRoleMember(TDdlObject object, const TDdlContext& /*context*/) {
    const TModelRoleMember& member = Record<TModelRoleMember>(object);
    return Statement("IF EXISTS (SELECT * FROM sys.database_role_members WHERE role_principal_id = "
                     "DATABASE_PRINCIPAL_ID(" +
                     UnicodeLiteral(member.strRole) + ") AND member_principal_id = DATABASE_PRINCIPAL_ID(" +
                     UnicodeLiteral(member.strMember) + "))" + LineEnd() + "    ALTER ROLE " +
                     QuoteName(member.strRole) + " DROP MEMBER " + QuoteName(member.strMember));
}

TStatements DropNothing(TDdlObject /*object*/, const TDdlContext& /*context*/) {
    return {};
}
