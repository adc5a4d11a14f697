// The statements of a migration: each action as batches made of the DDL writer's pieces, every batch guarded
// so that nothing runs once the transaction has been rolled back.
#pragma once

#include "compare/Migration.h"

#include <string>
#include <vector>

enum class eMigrationStep {
    Drop,           // drop FROM's object
    Make,           // make TO's object
    AlterColumn,    // change a column's type, nullability or collation in place
    AlterSchema,    // give a schema its owner
    AlterSequence,  // change a sequence's options
    AlterModule,    // CREATE OR ALTER a view, function, procedure or trigger
    ToggleTrigger,  // enable or disable a trigger
    UpdateProperty, // give an extended property its value
    Rebuild,        // make the table anew under another name, copy its rows, drop it, rename the new one
};

struct TMigrationAction {
    eMigrationStep eStep = eMigrationStep::Make;
    const TCompareObject* pFrom = nullptr; // FROM's object: what a drop drops, what a change starts from
    const TCompareObject* pTo = nullptr;   // TO's object: what a make makes, what a change ends with
    bool bRemoved = false; // a drop of what only FROM has: its rows or values are checked first
};

struct TMigrationContext {
    const TCatalogModel& from;
    const TCatalogModel& to;
    const TRecreatePlan& planFrom;
    const TRecreatePlan& planTo;
    const TMigrationOptions& options;
};

// The batches of one action, each without its GO line.
std::vector<std::string> ActionBatches(const TMigrationAction& action, const TMigrationContext& context);
// The whole script: the header's comment lines, the transaction begun, each batch guarded, committed.
std::string MigrationScript(const std::vector<std::string>& aHeader,
                            const std::vector<std::string>& aBatches);
// Whether a column of TO's type may not hold every value of FROM's.
bool IsNarrowing(const TModelDataType& from, const TModelDataType& to);
