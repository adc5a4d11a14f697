// The statements of a migration: each action as the kinds table's writers make it, with the checks of the
// rows that the data-loss guard adds, written as batches that each stop first when the transaction has been
// rolled back.
#pragma once

#include "compare/Migration.h"

#include <string>
#include <vector>

enum class eMigrationStep {
    Drop,    // drop FROM's object
    Detach,  // give FROM's column of an alias type the type's base type, so that the type can be dropped
    Make,    // make TO's object
    Alter,   // change FROM's object in place into TO's
    Rebuild, // make the table anew under another name, copy its rows, drop it, rename the new one
    Rename,  // give FROM's table or column TO's name
};

// Whether the step comes among the drops, in the reverse of FROM's apply order.
constexpr bool IsTakenApart(eMigrationStep eStep) {
    return eStep == eMigrationStep::Drop || eStep == eMigrationStep::Detach;
}

struct TMigrationAction {
    eMigrationStep eStep = eMigrationStep::Make;
    const TCompareObject* pFrom = nullptr; // FROM's object: what a drop drops, what a change starts from
    const TCompareObject* pTo = nullptr;   // TO's object: what a make makes, what a change ends with
    TAlterWriter pfnAlter = nullptr;       // what an in-place change is written by
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
// The whole script: the header's comment lines, the transaction begun, the check that the target is still
// FROM where there is one, each action's batches guarded, committed.
std::string MigrationScript(const std::vector<TMigrationAction>& aActions, const TMigrationContext& context,
                            const std::optional<TStatement>& driftCheck);
