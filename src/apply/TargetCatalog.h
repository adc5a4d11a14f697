// What the database that scripts apply to holds already, as far as applying them needs: the objects the
// scripts would create again, and the tables' foreign keys and identity columns, which decide how rows may
// load on several connections at once. Names are compared without regard to case.
#pragma once

#include "apply/ScriptPlan.h"
#include "backend/DbBackend.h"

#include <set>
#include <string>
#include <vector>

// The planned objects that the database has already, in the plan's order, but for those that a batch at or
// before the one that creates them drops (a clean file's drops before the objects). Throws CDBException*
// when the catalog cannot be read.
std::vector<TPlannedObject> FindExistingObjects(CDbConnection& connection, const TApplyPlan& plan);

class CTargetTables {
public:
    // Reads the tables' foreign keys and identity columns; throws CDBException* when they cannot be read.
    explicit CTargetTables(CDbConnection& connection);

    // True when a foreign key of table references referenced.
    bool References(const TScriptName& table, const TScriptName& referenced) const;
    bool HasIdentity(const TScriptName& table) const;

private:
    std::string Key(const TScriptName& name) const;

    std::string m_strDefaultSchema;
    std::set<std::pair<std::string, std::string>> m_references;
    std::set<std::string> m_identityTables;
};
