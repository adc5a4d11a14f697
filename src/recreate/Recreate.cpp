#include "recreate/RecreateScript.h"

#include "recreate/DdlWriter.h"
#include "recreate/RecreatePlan.h"

#include <array>

namespace {

constexpr std::array<std::string_view, RECREATE_CATEGORY_COUNT> g_aCategoryNames = {"Schemas",
                                                                                    "Types",
                                                                                    "Sequences",
                                                                                    "Synonyms",
                                                                                    "TableFunctions",
                                                                                    "Tables",
                                                                                    "Data",
                                                                                    "Constraints",
                                                                                    "Indexes",
                                                                                    "ForeignKeys",
                                                                                    "ViewsAndFunctions",
                                                                                    "Procedures",
                                                                                    "Triggers",
                                                                                    "ExtendedProperties"};

constexpr std::array<std::string_view, RECREATE_KIND_COUNT> g_aKindNames = {
    "Schemas",     "Types", "Sequences", "Synonyms",   "Tables",   "Constraints",       "Indexes",
    "ForeignKeys", "Views", "Functions", "Procedures", "Triggers", "ExtendedProperties"};

// The statements of one step, by what it creates.
std::string ScriptStep(const TPlanStep& step, const TCatalogModel& model, const TRecreatePlan& plan) {
    switch (step.eKind) {
    case ERecreateKind::Schema:
        return ScriptSchema(*step.pSchema);
    case ERecreateKind::Type:
        return step.pTable ? ScriptTableType(*step.pType, *step.pTable, model) : ScriptAliasType(*step.pType);
    case ERecreateKind::Sequence:
        return ScriptSequence(*step.pSequence);
    case ERecreateKind::Synonym:
        return ScriptSynonym(*step.pSynonym);
    case ERecreateKind::Table:
        return ScriptTable(*step.pTable, model, plan.setSeparate);
    case ERecreateKind::Constraint:
        return step.pCheck ? ScriptCheck(*step.pTable, *step.pCheck)
                           : ScriptDefault(*step.pTable, *step.pDefault);
    case ERecreateKind::Index:
        return ScriptIndex(*step.pTable, *step.pIndex, model);
    case ERecreateKind::ForeignKey:
        return ScriptForeignKey(*step.pTable, *step.pForeignKey, model);
    case ERecreateKind::ExtendedProperties:
        return ScriptExtendedProperties(step, model);
    default:
        return ScriptModule(*step.pModule, model);
    }
}

} // namespace

std::string_view RecreateCategoryName(ERecreateCategory eCategory) {
    return g_aCategoryNames[static_cast<size_t>(eCategory)];
}

std::string_view RecreateKindName(ERecreateKind eKind) {
    return g_aKindNames[static_cast<size_t>(eKind)];
}

namespace {

// The script of every step. With pOwned (the model itself, which the caller gave up) each module's definition
// is let go once written, so that a catalog's texts are not held twice.
TRecreateScript Script(const TCatalogModel& model, TCatalogModel* pOwned) {
    const TRecreatePlan plan = PlanRecreate(model);
    TRecreateScript script;
    script.aSteps.reserve(plan.aOrder.size());
    for (const size_t nStep : plan.aOrder) {
        const TPlanStep& step = plan.aSteps[nStep];
        std::string strText = ScriptStep(step, model, plan);
        if (pOwned && step.pModule && step.eKind != ERecreateKind::ExtendedProperties)
            std::string().swap(
                pOwned->aModules[static_cast<size_t>(step.pModule - model.aModules.data())].strDefinition);
        if (strText.empty())
            continue;
        script.aSteps.push_back(
            {step.eCategory, step.eKind, step.strSchema, step.strName, step.strParent, std::move(strText)});
    }
    for (const std::vector<size_t>& aCycle : plan.aCycles) {
        std::vector<std::string> aNames;
        for (const size_t nStep : aCycle)
            aNames.push_back(plan.aSteps[nStep].strSchema + "." + plan.aSteps[nStep].strName);
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
