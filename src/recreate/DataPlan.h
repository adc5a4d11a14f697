// Which tables' rows an export writes, parents before the tables that reference them; and, for rows written
// into a database that has its schema already, the foreign keys of a cycle that are off while they go in.
#pragma once

#include "model/CatalogModel.h"
#include "recreate/DataWriter.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TDataStep {
    TDataTable table;
    std::string strBefore; // batches before the rows
    std::string strAfter;  // batches after them
};

// A table's schema and name, each with * standing for any run of characters, compared without regard to case;
// no schema stands for any.
struct TTablePattern {
    std::string strSchema;
    std::string strName;
};

bool MatchesTablePattern(std::string_view strSchema, std::string_view strName, const TTablePattern& pattern);

// The rows a table has to be given: every column but computed and rowversion ones, in the order of its
// clustered index and then of its primary key.
TDataTable DataTableOf(const TModelTable& table);

// The tables (not table types) that one of the patterns matches, every one when there are none, of those
// pfnPicked picks (every one without it), in foreign-key order. With bDataOnly, the enabled foreign keys
// between the tables of a cycle (a table that references itself is one) are disabled before the cycle's first
// table and enabled after its last, checked again where the server trusted them. A table with a period has it
// dropped while its rows go in, so that its columns keep their values; with bDataOnly, a system-versioned
// table's versioning is off from before the first of its and its history table's rows to after the last.
std::vector<TDataStep> PlanData(const TCatalogModel& model, const std::vector<TTablePattern>& aPatterns,
                                bool bDataOnly,
                                const std::function<bool(const TModelTable&)>& pfnPicked = {});
