#include "recreate/CreatedName.h"
#include "recreate/DdlWriter.h"
#include "recreate/RecreateKinds.h"
#include "recreate/RecreateScript.h"
#include "recreate/RecreateSelection.h"

namespace {

TRecreateStep ScriptStep(const TPlanStep& step, eRecreateSection eSection, std::string&& strText) {
    return {eSection,         step.key.eKind,    step.key.strSchema,
            step.key.strName, step.key.strTable, std::move(strText)};
}

// The drop of the step's object, and of a renamed module's old name, which its script creates.
std::string DropText(const TPlanStep& step, const TDdlContext& context, const CNameMatcher& matcher) {
    const auto pfnDrop = RecreateKind(step.key.eKind).pfnDrop;
    std::string strText = ScriptText(pfnDrop({step.key, step.object}, context));
    const TModelModule* const* ppModule = std::get_if<const TModelModule*>(&step.object);
    const std::optional<TCreatedName> created =
        ppModule ? CreatedOtherName(**ppModule, matcher) : std::nullopt;
    if (created) {
        TModelKey renamed = step.key;
        renamed.strSchema = created->strSchema.empty() ? step.key.strSchema : created->strSchema;
        renamed.strName = created->strName;
        strText += ScriptText(pfnDrop({renamed, step.object}, context));
    }
    return strText;
}

// Foreign keys first, so that no table's drop waits for a key that references it; the rest in reverse apply
// order, each object before what it needs.
void AddDrops(TRecreateScript& script, const TDdlContext& context, const std::vector<bool>& aSelected) {
    const TRecreatePlan& plan = context.plan;
    const CNameMatcher matcher(IsCaseSensitiveCollation(context.model.strCollation));
    for (const bool bForeignKeys : {true, false})
        for (auto it = plan.aOrder.rbegin(); it != plan.aOrder.rend(); ++it) {
            const TPlanStep& step = plan.aSteps[*it];
            if (!aSelected[*it] || (step.key.eKind == eModelKind::ForeignKey) != bForeignKeys)
                continue;
            std::string strText = DropText(step, context, matcher);
            if (!strText.empty())
                script.aSteps.push_back(ScriptStep(step, eRecreateSection::Clean, std::move(strText)));
        }
}

// The script of the selected steps (every one when pSelected is null). With pOwned (the model itself, which
// the caller gave up) each module's definition is let go once written, so that a catalog's texts are not held
// twice.
TRecreateScript Script(const TCatalogModel& model, const TRecreatePlan& plan,
                       const std::vector<bool>* pSelected, bool bClean, TCatalogModel* pOwned) {
    const TDdlContext context{model, plan};
    TRecreateScript script;
    script.aSteps.reserve(plan.aOrder.size());
    if (bClean)
        AddDrops(script, context, pSelected ? *pSelected : std::vector<bool>(plan.aSteps.size(), true));
    for (const size_t nStep : plan.aOrder) {
        if (pSelected && !(*pSelected)[nStep])
            continue;
        const TPlanStep& step = plan.aSteps[nStep];
        std::string strText =
            ScriptText(RecreateKind(step.key.eKind).pfnCreate({step.key, step.object}, context));
        if (const TModelModule* const* ppModule = std::get_if<const TModelModule*>(&step.object);
            ppModule && pOwned)
            std::string().swap(
                pOwned->aModules[static_cast<size_t>(*ppModule - model.aModules.data())].strDefinition);
        if (!strText.empty())
            script.aSteps.push_back(ScriptStep(step, step.eSection, std::move(strText)));
    }
    for (const std::vector<size_t>& aCycle : plan.aCycles) {
        std::vector<std::string> aNames;
        for (const size_t nStep : aCycle)
            aNames.push_back(plan.aSteps[nStep].key.strSchema + "." + plan.aSteps[nStep].key.strName);
        script.aCycles.push_back(std::move(aNames));
    }
    return script;
}

} // namespace

TRecreateScript ScriptCatalogModel(const TCatalogModel& model) {
    return Script(model, PlanRecreate(model), nullptr, false, nullptr);
}

TRecreateScript ScriptCatalogModel(TCatalogModel&& model) {
    return Script(model, PlanRecreate(model), nullptr, false, &model);
}

TRecreateScript ScriptSelectedSteps(const TCatalogModel& model, const TRecreatePlan& plan,
                                    const std::vector<bool>& aSelected, bool bClean) {
    return Script(model, plan, &aSelected, bClean, nullptr);
}
