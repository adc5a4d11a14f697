// The security families: database principals, role members, object owners and permissions, with the
// securables of permissions resolved from catalog ids to names.
#include "model/ModelDraft.h"

#include "platform/Unicode.h"

#include <algorithm>
#include <tuple>

namespace {

// Every database has them: the scripts make none of them, nor grant to dbo, which holds every permission.
bool IsBuiltInPrincipal(const std::string& strName) {
    return IsBuiltInSchema(strName) || strName == "public" || strName.starts_with("##");
}

// The principal of that name; null when the model has none.
const TModelPrincipal* FindPrincipal(const TCatalogModel& model, const std::string& strName) {
    const auto it =
        std::find_if(model.aPrincipals.begin(), model.aPrincipals.end(),
                     [&](const TModelPrincipal& principal) { return principal.strName == strName; });
    return it == model.aPrincipals.end() ? nullptr : &*it;
}

// What ON names a principal by: USER::, ROLE:: or APPLICATION ROLE::.
std::string PrincipalWord(eModelKind eKind) {
    if (eKind == eModelKind::Role)
        return "ROLE";
    return eKind == eModelKind::ApplicationRole ? "APPLICATION ROLE" : "USER";
}

// The securable of a permission by its class; false when the model cannot name it.
bool ResolveSecurable(const TModelDraft& draft, TDraftPermission& draftPermission) {
    TModelPermission& permission = draftPermission.permission;
    switch (draftPermission.nClass) {
    case 0:
        return true;
    case 1:
        permission.strSecurable = "OBJECT";
        permission.securable = draft.KeyOf(draftPermission.nMajorId);
        return !permission.strName.empty();
    case 3:
        permission.strSecurable = "SCHEMA";
        permission.securable = TModelKey{eModelKind::Schema, "", "", permission.strName};
        return !permission.strName.empty();
    case 4: {
        const TModelPrincipal* pPrincipal = FindPrincipal(draft.model, permission.strName);
        if (!pPrincipal || !pPrincipal->Kind())
            return false;
        permission.strSecurable = PrincipalWord(*pPrincipal->Kind());
        permission.securable = TModelKey{*pPrincipal->Kind(), "", "", permission.strName};
        return true;
    }
    case 6: {
        const TDraftType* pType = Found(draft.mapTypes, draftPermission.nMajorId);
        if (!pType)
            return false;
        permission.strSecurable = "TYPE";
        permission.strSchema = draft.SchemaName(pType->nSchemaId);
        permission.strName = pType->strName;
        const bool bTable = draft.mapTableTypes.count(draftPermission.nMajorId) != 0;
        permission.securable = TModelKey{bTable ? eModelKind::TableType : eModelKind::AliasType,
                                         permission.strSchema, "", permission.strName};
        return true;
    }
    case 10: {
        const auto* pCollection = Found(draft.mapXmlSchemaCollections, draftPermission.nMajorId);
        if (!pCollection)
            return false;
        permission.strSecurable = "XML SCHEMA COLLECTION";
        permission.strSchema = draft.SchemaName(pCollection->first);
        permission.strName = pCollection->second;
        return true;
    }
    default:
        return false;
    }
}

// Objects whose owner ALTER AUTHORIZATION can change; a table's parts and triggers go with their table.
bool IsOwnedApart(eModelKind eKind) {
    return eKind == eModelKind::Table || eKind == eModelKind::View || eKind == eModelKind::Function ||
           eKind == eModelKind::Procedure || eKind == eModelKind::Sequence || eKind == eModelKind::Synonym;
}

// Owned as its schema makes it: some servers name the schema's owner, or dbo in a built-in schema, rather
// than nobody.
bool IsSchemaOwner(const TCatalogModel& model, const TModelKey& object, const std::string& strOwner) {
    const auto it =
        std::find_if(model.aSchemas.begin(), model.aSchemas.end(),
                     [&](const TModelSchema& schema) { return schema.strName == object.strSchema; });
    if (it == model.aSchemas.end())
        return false;
    return it->strOwner == strOwner || (it->bBuiltIn && strOwner == "dbo");
}

} // namespace

eModelPrincipalForm TModelPrincipal::Form() const {
    if (strType == "R")
        return eModelPrincipalForm::Role;
    if (strType == "A")
        return eModelPrincipalForm::ApplicationRole;
    if (strType == "E" || strType == "X")
        return eModelPrincipalForm::External;
    const bool bUser = strType == "S" || strType == "U" || strType == "G";
    if (bUser && !strLogin.empty())
        return eModelPrincipalForm::ForLogin;
    if (strType == "S" && nAuthentication == 0)
        return eModelPrincipalForm::WithoutLogin;
    return eModelPrincipalForm::Unknown;
}

std::optional<eModelKind> TModelPrincipal::Kind() const {
    switch (Form()) {
    case eModelPrincipalForm::Role:
        return eModelKind::Role;
    case eModelPrincipalForm::ApplicationRole:
        return eModelKind::ApplicationRole;
    case eModelPrincipalForm::Unknown:
        return std::nullopt;
    default:
        return eModelKind::User;
    }
}

void AddPrincipals(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TModelPrincipal principal;
        principal.strName = rows.Text("name");
        principal.strType = rows.Text("type");
        principal.strDefaultSchema = rows.Text("default_schema_name");
        principal.strOwner = rows.Text("owner_name");
        principal.strLogin = rows.Text("login_name");
        principal.nAuthentication = rows.IsNull("authentication_type") ? -1 : rows.Int("authentication_type");
        principal.bBuiltIn = IsBuiltInPrincipal(principal.strName);
        draft.model.aPrincipals.push_back(std::move(principal));
    }
}

void AddRoleMembers(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.model.aRoleMembers.push_back({rows.Text("role_name"), rows.Text("member_name")});
}

void AddOwners(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.aOwners.push_back({rows.Int("object_id"), rows.Text("owner_name")});
}

void AddXmlSchemaCollections(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next())
        draft.mapXmlSchemaCollections[rows.Int("xml_collection_id")] = {rows.Int("schema_id"),
                                                                        rows.Text("name")};
}

void AddPermissions(CFamilyRows& rows, TModelDraft& draft) {
    while (rows.Next()) {
        TDraftPermission& draftPermission = draft.aPermissions.emplace_back();
        draftPermission.nClass = rows.Int("class");
        draftPermission.nMajorId = rows.Int("major_id");
        TModelPermission& permission = draftPermission.permission;
        permission.strClass = rows.Text("class_desc");
        permission.strPermission = rows.Text("permission_name");
        const std::string strState = rows.Text("state");
        permission.cState = strState.empty() ? 'G' : strState.front();
        permission.strGrantee = rows.Text("grantee_name");
        permission.strSchema = rows.Text("object_schema");
        permission.strName = rows.Text("object_name");
        permission.strColumn = rows.Text("column_name");
        if (draftPermission.nClass == 3)
            permission.strName = rows.Text("schema_name");
        else if (draftPermission.nClass == 4)
            permission.strName = rows.Text("principal_name");
    }
}

void FinishSecurity(TModelDraft& draft) {
    TCatalogModel& model = draft.model;
    std::sort(model.aPrincipals.begin(), model.aPrincipals.end(),
              [](const TModelPrincipal& a, const TModelPrincipal& b) {
                  return std::tuple(FoldCaseUtf8(a.strName), a.strName) <
                         std::tuple(FoldCaseUtf8(b.strName), b.strName);
              });
    // dbo's place in db_owner is every database's.
    std::erase_if(model.aRoleMembers,
                  [](const TModelRoleMember& member) { return IsBuiltInPrincipal(member.strMember); });
    std::sort(
        model.aRoleMembers.begin(), model.aRoleMembers.end(),
        [](const TModelRoleMember& a, const TModelRoleMember& b) {
            return std::tuple(FoldCaseUtf8(a.strRole), FoldCaseUtf8(a.strMember), a.strRole, a.strMember) <
                   std::tuple(FoldCaseUtf8(b.strRole), FoldCaseUtf8(b.strMember), b.strRole, b.strMember);
        });
    for (TDraftOwner& owner : draft.aOwners) {
        const std::optional<TModelKey> key = draft.KeyOf(owner.nObjectId);
        if (key && IsOwnedApart(key->eKind) && !owner.strOwner.empty() &&
            !IsSchemaOwner(model, *key, owner.strOwner))
            model.aOwners.push_back({*key, std::move(owner.strOwner)});
    }
    std::sort(model.aOwners.begin(), model.aOwners.end(),
              [](const TModelOwner& a, const TModelOwner& b) { return a.object < b.object; });
    for (TDraftPermission& draftPermission : draft.aPermissions) {
        TModelPermission& permission = draftPermission.permission;
        const bool bGrantee = !permission.strGrantee.empty() &&
                              (!IsBuiltInPrincipal(permission.strGrantee) ||
                               permission.strGrantee == "public" || permission.strGrantee == "guest");
        if (!bGrantee)
            continue;
        if (!ResolveSecurable(draft, draftPermission))
            permission.strSecurable.clear();
        model.aPermissions.push_back(std::move(permission));
    }
    draft.aOwners.clear();
    draft.aPermissions.clear();
}
