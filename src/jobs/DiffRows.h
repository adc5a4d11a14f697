// diff --data-tables: the rows of the chosen tables that both sides have, compared by key, as differences,
// data-loss records and the statements that go after the schema's changes.
#pragma once

#include "compare/RowComparison.h"
#include "jobs/DiffSides.h"
#include "scripts/DiffJob.h"

#include <optional>
#include <string>
#include <vector>

struct TRowsCompared {
    std::vector<TTableRowDifferences> aTables; // parents first
    std::vector<TDiffEntry> aEntries;
    std::vector<TRefusal> aLosses; // a table's deleted rows each
};

// The rows of the tables the patterns pick on both sides, each side read as it stays open; none after
// telling why: a pattern that matches no table of either, a table whose rows cannot be compared, a side that
// fails.
std::optional<TRowsCompared> CompareChosenRows(const std::vector<std::string>& aPatterns,
                                               const TLoadedSide& from, const TLoadedSide& to,
                                               IJobObserver& observer);
// The migration's part of them: the statements and the tables the drift check covers.
void AddRowChanges(TMigrationOptions& migration, const TRowsCompared& rows);
