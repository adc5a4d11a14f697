// object --recreate as a job: one object's faithful script, found by its name among the steps of the whole
// catalog's.
#include "jobs/JobFailure.h"
#include "jobs/ObjectName.h"
#include "jobs/RecreateWarnings.h"
#include "model/ModelLoader.h"
#include "recreate/DdlText.h"
#include "recreate/RecreateKinds.h"
#include "scripts/ExportJobs.h"

#include <strings.h>

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Steps that create an object of the schema on their own, not a table's part; or a trigger of the database,
// which is named alone.
bool IsSchemaObject(const TRecreateStep& step) {
    return RecreateKind(step.eKind).bSchemaObject || step.eKind == eModelKind::DatabaseTrigger;
}

bool IsPrincipal(const TRecreateStep& step) {
    return step.eKind == eModelKind::User || step.eKind == eModelKind::Role ||
           step.eKind == eModelKind::ApplicationRole;
}

// A table's check, default, index or foreign key, or a view's index.
bool IsTablePart(const TRecreateStep& step) {
    return !step.strParent.empty() && step.eKind != eModelKind::Property &&
           RecreateKind(step.eKind).strWord != "security";
}

bool IsSchema(const TRecreateStep& step) {
    return step.eKind == eModelKind::Schema;
}

// The steps whose name matches: exactly first, then without regard to case; one schema given or found.
std::vector<const TRecreateStep*> Matching(const std::vector<TRecreateStep>& aSteps,
                                           const TObjectName& wanted,
                                           bool (*pfnAccept)(const TRecreateStep&)) {
    for (const bool bExact : {true, false}) {
        std::vector<const TRecreateStep*> aFound;
        for (const TRecreateStep& step : aSteps) {
            const auto same = [&](const std::string& a, const std::string& b) {
                return bExact ? a == b : SameName(a, b);
            };
            if (pfnAccept(step) && same(step.strName, wanted.strName) &&
                (wanted.strSchema.empty() || same(step.strSchema, wanted.strSchema)))
                aFound.push_back(&step);
        }
        if (!aFound.empty())
            return aFound;
    }
    return {};
}

// Without a schema, dbo's object is meant when several schemas have one of that name.
std::vector<const TRecreateStep*> PreferDbo(std::vector<const TRecreateStep*> aFound) {
    if (aFound.size() < 2)
        return aFound;
    std::vector<const TRecreateStep*> aDbo;
    for (const TRecreateStep* pStep : aFound)
        if (pStep->strSchema == "dbo")
            aDbo.push_back(pStep);
    return aDbo.size() == 1 ? aDbo : aFound;
}

std::string ObjectScript(const std::vector<TRecreateStep>& aSteps, const TRecreateStep& object) {
    std::string strText;
    for (const TRecreateStep& step : aSteps) {
        // A table's parts, a view's indexes.
        const bool bPart = step.strSchema == object.strSchema && step.strParent == object.strName &&
                           (object.eKind == eModelKind::Table || object.eKind == eModelKind::View) &&
                           !IsSchemaObject(step);
        const bool bProperties = step.eKind == eModelKind::Property && step.strSchema == object.strSchema &&
                                 step.strName == object.strName;
        // A principal's roles and, for a role, its members.
        const bool bMembership = IsPrincipal(object) && step.eKind == eModelKind::RoleMember &&
                                 (step.strParent == object.strName || step.strName == object.strName);
        if (&step == &object || bPart || bProperties || bMembership)
            strText += step.strText;
    }
    return strText;
}

std::vector<const TRecreateStep*> Find(const std::vector<TRecreateStep>& aSteps, const TObjectName& wanted) {
    std::vector<const TRecreateStep*> aFound = PreferDbo(Matching(aSteps, wanted, &IsSchemaObject));
    if (aFound.empty())
        aFound = Matching(aSteps, wanted, &IsTablePart);
    if (aFound.empty() && wanted.strSchema.empty())
        aFound = Matching(aSteps, wanted, &IsSchema);
    if (aFound.empty() && wanted.strSchema.empty())
        aFound = Matching(aSteps, wanted, &IsPrincipal);
    return aFound;
}

// The object whose parts the census names with the step's: its table for a table's part.
std::string OwnerName(const TRecreateStep& step) {
    if (step.strSchema.empty())
        return step.strName;
    return step.strSchema + "." + (IsTablePart(step) ? step.strParent : step.strName);
}

} // namespace

TObjectScript FindRecreateObject(CDatabase& db, const std::string& strName, IJobObserver& observer,
                                 bool bStrict, bool bLineFeeds) {
    const CLineFeedScope lineEnds(bLineFeeds);
    TObjectScript result;
    try {
        const TCatalogModel model = LoadCatalogModel(db, 1, {});
        WarnUnrecordedFamilies(db, model, observer);
        const std::vector<TRecreateStep> aSteps = ScriptCatalogModel(model).aSteps;
        const std::vector<const TRecreateStep*> aFound = Find(aSteps, ParseObjectName(strName));
        TJobNotice notice{aFound.empty() ? eJobNotice::NoSuchObject : eJobNotice::AmbiguousName};
        notice.strSubject = strName;
        if (aFound.size() == 1) {
            if (!WarnUncarried(model, bStrict, observer, OwnerName(*aFound.front()))) {
                result.eEnd = eJobEnd::Failed;
                return result;
            }
            result.strText = ObjectScript(aSteps, *aFound.front());
            return result;
        }
        for (const TRecreateStep* pStep : aFound)
            notice.aNames.push_back(pStep->strSchema + "." +
                                    (pStep->strParent.empty() ? "" : pStep->strParent + ".") +
                                    pStep->strName);
        observer.OnNotice(notice);
        result.eEnd = eJobEnd::Failed;
    } catch (const CModelError& e) {
        result.eEnd = observer.ShouldStop() ? eJobEnd::Stopped : eJobEnd::Failed;
        if (result.eEnd == eJobEnd::Failed)
            observer.OnNotice(NoticeOf(e));
        else
            observer.OnStopping();
    }
    return result;
}
