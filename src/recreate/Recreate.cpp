#include "recreate/RecreateScript.h"

#include "recreate/DdlWriter.h"
#include "recreate/RecreateKinds.h"

namespace {

// The script of every step. With pOwned (the model itself, which the caller gave up) each module's definition
// is let go once written, so that a catalog's texts are not held twice.
TRecreateScript Script(const TCatalogModel& model, TCatalogModel* pOwned) {
    const TRecreatePlan plan = PlanRecreate(model);
    const TDdlContext context{model, plan};
    TRecreateScript script;
    script.aSteps.reserve(plan.aOrder.size());
    for (const size_t nStep : plan.aOrder) {
        const TPlanStep& step = plan.aSteps[nStep];
        std::string strText = RecreateKind(step.key.eKind).pfnCreate(step, context);
        if (const TModelModule* const* ppModule = std::get_if<const TModelModule*>(&step.object);
            ppModule && pOwned)
            std::string().swap(
                pOwned->aModules[static_cast<size_t>(*ppModule - model.aModules.data())].strDefinition);
        if (strText.empty())
            continue;
        script.aSteps.push_back({step.eSection, step.key.eKind, step.key.strSchema, step.key.strName,
                                 step.key.strTable, std::move(strText)});
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
    return Script(model, nullptr);
}

TRecreateScript ScriptCatalogModel(TCatalogModel&& model) {
    return Script(model, &model);
}
