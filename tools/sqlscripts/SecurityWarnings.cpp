#include "SecurityWarnings.h"

#include "Messages.h"

#include <algorithm>

namespace {

// Why a user is not written.
const char* UnwrittenUserReason(const TModelPrincipal& user) {
    if (user.strType == "S" && user.nAuthentication == 2)
        return Tr("a contained user's password cannot be read");
    if (user.strType == "C")
        return Tr("it is mapped to a certificate");
    if (user.strType == "K")
        return Tr("it is mapped to an asymmetric key");
    return Tr("its login is not known to the server");
}

bool Selects(const TRecreatePlan& plan, const std::vector<bool>& selected, eModelKind kind) {
    for (size_t step = 0; step < plan.aSteps.size(); ++step)
        if (selected[step] && plan.aSteps[step].key.eKind == kind)
            return true;
    return false;
}

} // namespace

void WarnSecurity(const TCatalogModel& model, const TRecreatePlan& plan, const std::vector<bool>& selected) {
    // A selection that writes principals or permissions at all is one that would have written these.
    const bool principals = Selects(plan, selected, eModelKind::User) ||
                            Selects(plan, selected, eModelKind::Role) ||
                            Selects(plan, selected, eModelKind::ApplicationRole);
    if (principals)
        for (const TModelPrincipal& principal : model.aPrincipals)
            if (!principal.bBuiltIn && !principal.Kind())
                Say(Format(Tr("warning: user %s is left out: %s"), principal.strName.c_str(),
                           UnwrittenUserReason(principal)));
    if (Selects(plan, selected, eModelKind::Permission))
        for (const TModelPermission& permission : model.aPermissions)
            if (!permission.IsWritten())
                Say(Format(Tr("warning: permission %s of %s on a securable of class %s is left out: the "
                              "scripts cannot name it"),
                           permission.strPermission.c_str(), permission.strGrantee.c_str(),
                           permission.strClass.c_str()));
    for (size_t step = 0; step < plan.aSteps.size(); ++step)
        if (selected[step] && plan.aSteps[step].key.eKind == eModelKind::ApplicationRole)
            Say(Format(Tr("warning: application role %s is written with a new password that nobody knows; "
                          "give it one with ALTER APPLICATION ROLE"),
                       plan.aSteps[step].key.strName.c_str()));
}
