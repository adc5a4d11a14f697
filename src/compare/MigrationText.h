// The statements of a migration: each action as the kinds table's writers make it, with the checks of the
// rows that the data-loss guard adds, written as batches that each stop first when the transaction has been
// rolled back.
#pragma once

#include "compare/Migration.h"

#include <string>
#include <vector>

enum class eMigrationStep {
    Drop,    // drop FROM's object
    Make,    // make TO's object
    Alter,   // change FROM's object in place into TO's
    Rebuild, // make the table anew under another name, copy its rows, drop it, rename the new one
};

struct TMigrationAction {
    eMigrationStep eStep = eMigrationStep::Make;
    const TCompareObject* pFrom = nullptr; // FROM's object: what a drop drops, what a change starts from
    const TCompareObject* pTo = nullptr;   // TO's object: what a make makes, what a change ends with
    bool bRemoved = false;           // a drop of what only FROM has: its rows or values are checked first
    TAlterWriter pfnAlter = nullptr; // what an in-place change is written by
};

struct TMigrationContext {
    const TCatalogModel& from;
    const TCatalogModel& to;
    const TRecreatePlan& planFrom;
    const TRecreatePlan& planTo;
    const TMigrationOptions& options;
};

// The statements of one action.
TStatements ActionStatements(const TMigrationAction& action, const TMigrationContext& context);
// The whole script: the header's comment lines, the transaction begun, each action's batches guarded,
// committed.
std::string MigrationScript(const std::vector<TMigrationAction>& aActions, const TMigrationContext& context);
