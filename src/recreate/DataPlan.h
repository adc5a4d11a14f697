// Which tables' rows an export writes, parents before the tables that reference them; and, for rows written
// into a database that has its schema already, the foreign keys of a cycle that are off while they go in.
#pragma once

#include "model/CatalogModel.h"
#include "recreate/DataWriter.h"

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

// The tables (not table types) that one of the patterns matches, every one when there are none, in
// foreign-key order. With bDataOnly, the enabled foreign keys between the tables of a cycle (a table that
// references itself is one) are disabled before the cycle's first table and enabled after its last, checked
// again where the server trusted them.
std::vector<TDataStep> PlanData(const TCatalogModel& model, const std::vector<TTablePattern>& aPatterns,
                                bool bDataOnly);
