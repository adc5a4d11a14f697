// Principals and permissions in the apply order: what the golden cases cannot show by name order alone.
#include "recreate/RecreatePlan.h"
#include "recreate/RecreateScript.h"

#include <gtest/gtest.h>

namespace {

TModelPrincipal Principal(const std::string& strName, const std::string& strType, int nAuthentication,
                          const std::string& strLogin = "", const std::string& strOwner = "") {
    TModelPrincipal principal;
    principal.strName = strName;
    principal.strType = strType;
    principal.nAuthentication = nAuthentication;
    principal.strLogin = strLogin;
    principal.strOwner = strOwner;
    return principal;
}

// Each step's text in apply order, with the section's number in front.
std::vector<std::string> Applied(const TCatalogModel& model) {
    std::vector<std::string> aTexts;
    for (const TRecreateStep& step : ScriptCatalogModel(model).aSteps)
        aTexts.push_back(std::to_string(static_cast<int>(step.eSection)) + " " +
                         step.strText.substr(0, step.strText.find('\r')));
    return aTexts;
}

TEST(SecurityPlan, EachPrincipalFormIsTheOneItsCatalogRowGives) {
    using enum eModelPrincipalForm;
    EXPECT_EQ(Principal("a", "S", 1, "login_a").Form(), ForLogin);
    EXPECT_EQ(Principal("b", "S", -1, "login_b").Form(), ForLogin); // a server that reports no authentication
    EXPECT_EQ(Principal("c", "U", 3, "DOMAIN\\c").Form(), ForLogin);
    EXPECT_EQ(Principal("d", "S", 0).Form(), WithoutLogin);
    EXPECT_EQ(Principal("e", "E", 4).Form(), External);
    EXPECT_EQ(Principal("f", "R", 0).Form(), Role);
    EXPECT_EQ(Principal("g", "A", 0).Form(), ApplicationRole);
    // A contained user's password, a certificate's user, and a user whose login is gone.
    EXPECT_EQ(Principal("h", "S", 2).Form(), Unknown);
    EXPECT_EQ(Principal("i", "C", 0).Form(), Unknown);
    EXPECT_EQ(Principal("j", "S", 1).Form(), Unknown);
    EXPECT_FALSE(Principal("j", "S", 1).Kind());
}

// A role owned by a role that sorts after it, a schema owned by a user, and the members and grants of both
// after the objects they name, whatever their names.
TEST(SecurityPlan, OwnersComeFirstAndMembersAndGrantsLast) {
    TCatalogModel model;
    model.aPrincipals = {Principal("a_role", "R", 0, "", "z_role"), Principal("m_user", "S", 1, "m_login"),
                         Principal("z_role", "R", 0, "", "dbo")};
    model.aSchemas = {TModelSchema{"dbo", "dbo", true}, TModelSchema{"a_schema", "m_user", false}};
    TModelTable table;
    table.strSchema = "a_schema";
    table.strName = "t";
    TModelColumn& column = table.aColumns.emplace_back();
    column.strName = "id";
    column.type = {"int", "", "int", 4, 10, 0};
    model.aTables = {table};
    model.aRoleMembers = {TModelRoleMember{"a_role", "m_user"}, TModelRoleMember{"z_role", "a_role"}};
    TModelPermission grant;
    grant.strClass = "OBJECT_OR_COLUMN";
    grant.strSecurable = "OBJECT";
    grant.strSchema = "a_schema";
    grant.strName = "t";
    grant.strColumn = "id";
    grant.strPermission = "SELECT";
    grant.strGrantee = "a_role";
    grant.securable = TModelKey{eModelKind::Table, "a_schema", "", "t"};
    TModelPermission database;
    database.strClass = "DATABASE";
    database.strPermission = "CREATE TABLE";
    database.cState = 'W';
    database.strGrantee = "m_user";
    model.aPermissions = {grant, database};
    model.BuildIndex();

    const std::vector<std::string> aExpected = {
        "1 CREATE USER [m_user] FOR LOGIN [m_login];",
        "1 CREATE ROLE [z_role];",
        "1 CREATE ROLE [a_role] AUTHORIZATION [z_role];",
        "1 CREATE SCHEMA [a_schema] AUTHORIZATION [m_user];",
        "6 CREATE TABLE [a_schema].[t] (",
        "16 ALTER ROLE [a_role] ADD MEMBER [m_user];",
        "16 ALTER ROLE [z_role] ADD MEMBER [a_role];",
        "16 GRANT CREATE TABLE TO [m_user] WITH GRANT OPTION;",
        "16 GRANT SELECT ([id]) ON OBJECT::[a_schema].[t] TO [a_role];",
    };
    EXPECT_EQ(Applied(model), aExpected);
}

} // namespace
