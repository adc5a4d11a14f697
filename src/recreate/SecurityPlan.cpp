// The steps of principals, role members, owners and permissions, and what each needs first: a principal the
// schemas it owns, a permission its securable and grantee.
#include "recreate/RecreatePlan.h"

#include <algorithm>
#include <unordered_map>

namespace {

template <typename T> const T& Record(const CPlanBuilder& builder, size_t nStep) {
    return *std::get<const T*>(builder.Step(nStep).object);
}

// The step of the principal of that name, of whichever kind the scripts make it; NO_STEP for one every
// database has or one not written.
size_t FindPrincipal(const CPlanBuilder& builder, const std::string& strName) {
    for (const eModelKind eKind : {eModelKind::User, eModelKind::Role, eModelKind::ApplicationRole}) {
        const size_t nStep = builder.Find({eKind, "", "", strName});
        if (nStep != NO_STEP)
            return nStep;
    }
    return NO_STEP;
}

// The key of the step of a securable's permissions: an object's by its schema and name, anything else by
// its class word besides, the database's by that word alone.
TModelKey PermissionKey(const TModelPermission& permission) {
    if (permission.strClass == "DATABASE")
        return {eModelKind::Permission, "", "", "DATABASE"};
    const std::string strWord = permission.strSecurable == "OBJECT" ? "" : permission.strSecurable;
    return {eModelKind::Permission, permission.strSchema, strWord, permission.strName};
}

// False for a user of a form the scripts leave out: what names it would be refused.
bool IsPrincipalWritten(const TCatalogModel& model, const std::string& strName) {
    return std::none_of(model.aPrincipals.begin(), model.aPrincipals.end(),
                        [&](const TModelPrincipal& principal) {
                            return principal.strName == strName && !principal.bBuiltIn && !principal.Kind();
                        });
}

} // namespace

void CollectPrincipals(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelPrincipal& principal : builder.Model().aPrincipals)
        if (!principal.bBuiltIn && principal.Kind() == eKind)
            builder.Add({eKind, "", "", principal.strName}, &principal);
}

void CollectRoleMembers(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelRoleMember& member : builder.Model().aRoleMembers)
        if (IsPrincipalWritten(builder.Model(), member.strRole) &&
            IsPrincipalWritten(builder.Model(), member.strMember))
            builder.Add({eKind, "", member.strRole, member.strMember}, &member);
}

void CollectOwners(CPlanBuilder& builder, eModelKind eKind) {
    for (const TModelOwner& owner : builder.Model().aOwners)
        if (IsPrincipalWritten(builder.Model(), owner.strOwner))
            builder.Add({eKind, owner.object.strSchema, "", owner.object.strName}, &owner);
}

void CollectPermissions(CPlanBuilder& builder, eModelKind /*eKind*/) {
    std::vector<std::pair<TModelKey, TPermissionSet>> aSets;
    std::unordered_map<TModelKey, size_t, TModelKeyHash> mapSets;
    for (const TModelPermission& permission : builder.Model().aPermissions) {
        if (!permission.IsWritten() || !IsPrincipalWritten(builder.Model(), permission.strGrantee))
            continue;
        const TModelKey key = PermissionKey(permission);
        const auto [it, bNew] = mapSets.emplace(key, aSets.size());
        if (bNew)
            aSets.emplace_back(key, TPermissionSet{});
        aSets[it->second].second.aPermissions.push_back(&permission);
    }
    for (auto& [key, set] : aSets)
        builder.Add(key, std::move(set));
}

void NeedSchemaOwner(CPlanBuilder& builder, size_t nStep) {
    builder.Need(nStep, FindPrincipal(builder, Record<TModelSchema>(builder, nStep).strOwner), false);
}

void NeedRoleOwner(CPlanBuilder& builder, size_t nStep) {
    builder.Need(nStep, FindPrincipal(builder, Record<TModelPrincipal>(builder, nStep).strOwner), false);
}

void NeedRoleAndMember(CPlanBuilder& builder, size_t nStep) {
    const TModelRoleMember& member = Record<TModelRoleMember>(builder, nStep);
    builder.Need(nStep, FindPrincipal(builder, member.strRole), false);
    builder.Need(nStep, FindPrincipal(builder, member.strMember), false);
}

void NeedObjectAndOwner(CPlanBuilder& builder, size_t nStep) {
    const TModelOwner& owner = Record<TModelOwner>(builder, nStep);
    builder.Need(nStep, builder.Find(owner.object), false);
    builder.Need(nStep, FindPrincipal(builder, owner.strOwner), false);
}

void NeedSecurableAndGrantees(CPlanBuilder& builder, size_t nStep) {
    for (const TModelPermission* pPermission :
         std::get<TPermissionSet>(builder.Step(nStep).object).aPermissions) {
        if (pPermission->securable)
            builder.Need(nStep, builder.Find(*pPermission->securable), false);
        builder.Need(nStep, FindPrincipal(builder, pPermission->strGrantee), false);
    }
}
