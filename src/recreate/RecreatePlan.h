// The apply order: a step per object, the steps each needs first, their categories, and one order of them
// that keeps the categories' order and every need wherever a cycle does not forbid it.
#pragma once

#include "model/CatalogModel.h"
#include "recreate/RecreateScript.h"

#include <unordered_set>
#include <vector>

struct TPlanNeed {
    size_t nStep = 0;
    // The statement still runs when the needed object is missing (a procedure or a function's body
    // naming a table it reads): given up first when steps need each other in a cycle.
    bool bSoft = false;
};

// What one step creates, as pointers into the model; which ones are set depends on the kind.
struct TPlanStep {
    ERecreateKind eKind = ERecreateKind::Schema;
    ERecreateCategory eCategory = ERecreateCategory::Schemas;
    const TModelSchema* pSchema = nullptr;
    const TModelType* pType = nullptr;
    const TModelSequence* pSequence = nullptr;
    const TModelSynonym* pSynonym = nullptr;
    const TModelTable* pTable = nullptr; // a table, or the table of a constraint, index or foreign key
    const TModelCheck* pCheck = nullptr;
    const TModelDefault* pDefault = nullptr;
    const TModelIndex* pIndex = nullptr;
    const TModelForeignKey* pForeignKey = nullptr;
    const TModelModule* pModule = nullptr;
    std::vector<const TModelExtendedProperty*> aProperties; // of one object and its parts
    std::string strSchema;
    std::string strName;
    std::string strParent;
    std::vector<TPlanNeed> aNeeds;
};

struct TRecreatePlan {
    std::vector<TPlanStep> aSteps;
    std::vector<size_t>
        aOrder; // the steps in apply order; checks and defaults written inside their table left out
    std::vector<std::vector<size_t>> aCycles;
    // Checks and defaults (object ids) added to their table by a statement of their own.
    std::unordered_set<int> setSeparate;
};

// The steps of every object of the model, with what each needs, in apply order (RecreateOrder.cpp orders
// them).
TRecreatePlan PlanRecreate(const TCatalogModel& model);
// Sets each step's category and the plan's order: functions that tables use moved before the tables, every
// step no earlier than what it needs, checks and some defaults apart from their table.
void OrderPlan(TRecreatePlan& plan);

// False for a default that SQL Server cannot create, such as the one some servers report for a rowversion
// column, whose values the server makes.
bool IsScriptedDefault(const TModelTable& table, const TModelDefault& def);
