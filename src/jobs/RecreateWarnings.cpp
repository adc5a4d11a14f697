#include "jobs/RecreateWarnings.h"

#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "recreate/CreatedName.h"
#include "recreate/RecreateKinds.h"

#include <algorithm>
#include <optional>
#include <set>

namespace {

// Why a user is not written.
eJobNotice UnwrittenUser(const TModelPrincipal& user) {
    if (user.strType == "S" && user.nAuthentication == 2)
        return eJobNotice::ContainedUserLeftOut;
    if (user.strType == "C")
        return eJobNotice::CertificateUserLeftOut;
    if (user.strType == "K")
        return eJobNotice::KeyUserLeftOut;
    return eJobNotice::LoginlessUserLeftOut;
}

bool Selects(const TRecreatePlan& plan, const std::vector<bool>& aSelected, eModelKind eKind) {
    for (size_t nStep = 0; nStep < plan.aSteps.size(); ++nStep)
        if (aSelected[nStep] && plan.aSteps[nStep].key.eKind == eKind)
            return true;
    return false;
}

// The step's object: its kind, and "dbo.Orders.IX_Date", "sales" for a schema.
TJobItem StepItem(const TPlanStep& step) {
    const TModelKey& key = step.key;
    std::string strName;
    if (!key.strSchema.empty())
        strName += key.strSchema + ".";
    if (!key.strTable.empty() && !RecreateKind(key.eKind).bSchemaObject)
        strName += key.strTable + ".";
    return {static_cast<int>(key.eKind), strName + key.strName};
}

} // namespace

bool WarnUncarried(const TCatalogModel& model, bool bStrict, IJobObserver& observer,
                   const std::string& strObject) {
    bool bAny = false;
    for (const TModelUncarried& uncarried : model.aUncarried) {
        TJobNotice notice(eJobNotice::NotCarried, uncarried.strSource);
        for (const std::string& strName : uncarried.aNames)
            if (strObject.empty() || strName == strObject || strName.starts_with(strObject + "."))
                notice.aNames.push_back(strName);
        if (notice.aNames.empty())
            continue;
        notice.eOption = bStrict ? eJobOption::Strict : eJobOption::None;
        notice.strDetail = uncarried.strCode;
        notice.nCategory = uncarried.nCensusKind;
        notice.nCount = static_cast<long>(notice.aNames.size());
        observer.OnNotice(notice);
        bAny = true;
    }
    return !bStrict || !bAny;
}

void WarnUnrecordedFamilies(CDatabase& db, const TCatalogModel& model, IJobObserver& observer) {
    for (const std::string& strFamily : model.aUnrecordedFamilies) {
        TJobNotice notice(eJobNotice::UnrecordedFamily, db.GetBackend()->GetSnapshot()->GetPath());
        notice.strDetail = strFamily;
        observer.OnNotice(notice);
    }
}

void WarnSecurity(const TCatalogModel& model, const TRecreatePlan& plan, const std::vector<bool>& aSelected,
                  IJobObserver& observer) {
    // A selection that writes principals or permissions at all is one that would have written these.
    const bool bPrincipals = Selects(plan, aSelected, eModelKind::User) ||
                             Selects(plan, aSelected, eModelKind::Role) ||
                             Selects(plan, aSelected, eModelKind::ApplicationRole);
    if (bPrincipals)
        for (const TModelPrincipal& principal : model.aPrincipals)
            if (!principal.bBuiltIn && !principal.Kind())
                observer.OnNotice(TJobNotice(UnwrittenUser(principal), principal.strName));
    if (Selects(plan, aSelected, eModelKind::Permission))
        for (const TModelPermission& permission : model.aPermissions)
            if (!permission.IsWritten()) {
                TJobNotice notice(eJobNotice::PermissionLeftOut, permission.strGrantee);
                notice.strDetail = permission.strPermission;
                notice.strReason = permission.strClass;
                observer.OnNotice(notice);
            }
    for (size_t nStep = 0; nStep < plan.aSteps.size(); ++nStep)
        if (aSelected[nStep] && plan.aSteps[nStep].key.eKind == eModelKind::ApplicationRole)
            observer.OnNotice(
                TJobNotice(eJobNotice::NewApplicationRolePassword, plan.aSteps[nStep].key.strName));
}

void WarnLeftOut(const TRecreatePlan& plan, const TStepSelection& selection, IJobObserver& observer) {
    if (selection.aLeftOut.empty())
        return;
    TJobNotice notice{eJobNotice::LeftOut};
    for (const size_t nStep : selection.aLeftOut)
        notice.aItems.push_back(StepItem(plan.aSteps[nStep]));
    observer.OnNotice(notice);
}

void WarnRenamed(const TRecreatePlan& plan, const std::vector<bool>& aSelected, const CNameMatcher& matcher,
                 IJobObserver& observer) {
    for (size_t nStep = 0; nStep < plan.aSteps.size(); ++nStep) {
        const TModelModule* const* ppModule = std::get_if<const TModelModule*>(&plan.aSteps[nStep].object);
        if (!ppModule || !aSelected[nStep])
            continue;
        const std::optional<TCreatedName> created = CreatedOtherName(**ppModule, matcher);
        if (!created)
            continue;
        TJobNotice notice{eJobNotice::Renamed};
        notice.aItems.push_back(StepItem(plan.aSteps[nStep]));
        notice.strDetail = (created->strSchema.empty() ? "" : created->strSchema + ".") + created->strName;
        observer.OnNotice(notice);
    }
}

void WarnCycles(const TRecreateScript& script, IJobObserver& observer) {
    std::set<std::string> setWritten;
    for (const TRecreateStep& step : script.aSteps)
        setWritten.insert(step.strSchema + "." + step.strName);
    for (const std::vector<std::string>& aCycle : script.aCycles)
        if (std::any_of(aCycle.begin(), aCycle.end(),
                        [&](const std::string& strName) { return setWritten.count(strName); })) {
            TJobNotice notice{eJobNotice::Cycle};
            notice.aNames = aCycle;
            observer.OnNotice(notice);
        }
}
