// The script that brings a database described by one model (FROM) to the state another describes (TO): what
// must go first dropped in the reverse of FROM's apply order, then what is made or changed in TO's, in one
// transaction that a failure anywhere rolls back whole.
#pragma once

#include "compare/DriftCheck.h"
#include "compare/ModelComparison.h"
#include "compare/Renames.h"
#include "recreate/ChangeRules.h"

#include <memory>
#include <string>
#include <vector>

struct TMigrationOptions {
    bool bDrop = false;          // drop the objects of their own schema that only FROM has (kept otherwise)
    bool bAllowDataLoss = false; // drop tables and columns with their rows, narrow types where values fit
    bool bAllowRebuild = false;  // rebuild tables whose changes T-SQL cannot make in place
    bool bRestartSequences = false; // restart a sequence whose start differs
    TServerDialect dialect;
    // FROM's hashes: the script first checks that the objects it touches still have them. None: no check.
    std::optional<TObjectHashes> fromHashes;
    std::vector<std::string> aHeader; // comment lines at the top: what FROM and TO are, when it was made
    CRenames renames;                 // FROM's tables and columns that TO holds under other names
    // The rows' changes, after the schema's; the check covers the tables they change too.
    TStatements aRowStatements;
    std::vector<TModelKey> aRowTables;
};

// A difference in the order the script applies it, or a rename.
struct TMigrationItem {
    const TModelDifference* pDifference = nullptr; // null for a rename
    bool bKept = false;                            // only FROM has it, and it stays
    const TCompareObject* pRenamedFrom = nullptr;  // a rename: FROM's table or column
    const TCompareObject* pRenamedTo = nullptr;    // and TO's of its new name
};

class CMigration {
public:
    // The models must outlive the migration.
    CMigration(const TCatalogModel& from, const TCatalogModel& to, TMigrationOptions options);
    ~CMigration();
    CMigration(const CMigration&) = delete;
    CMigration& operator=(const CMigration&) = delete;

    // Every difference, in the order the script deals with it.
    const std::vector<TMigrationItem>& Items() const;
    // The changes the options do not allow (data loss, rebuilds): no script is to be written.
    const std::vector<TRefusal>& Refusals() const;
    // The data that --allow-data-loss lets the migration lose: to be told as warnings.
    const std::vector<TRefusal>& Warnings() const;
    // The migration: T-SQL that applies to FROM's database and leaves it described as TO.
    std::string Script() const;

private:
    struct TState;
    std::unique_ptr<TState> m_pState;
};
