#include "recreate/DataPlan.h"

#include "recreate/DdlWriter.h"
#include "recreate/NamePattern.h"
#include "scripting/StableOrder.h"

#include <algorithm>
#include <unordered_map>

namespace {

void AddOrderKeys(TDataTable& data, const TModelTable& table, const TModelIndex& index) {
    for (const TModelIndexColumn& key : index.aKeys) {
        const bool bListed =
            std::any_of(data.aOrder.begin(), data.aOrder.end(),
                        [&](const TDataOrderKey& order) { return order.strColumn == key.strColumn; });
        if (table.FindColumn(key.strColumn) && !bListed)
            data.aOrder.push_back({key.strColumn, key.bDescending});
    }
}

bool References(const TModelForeignKey& key, const TModelTable& table) {
    return key.strReferencedSchema == table.strSchema && key.strReferencedTable == table.strName;
}

// The foreign keys between tables of one group of the order: each is off while the group's rows go in.
void DisableWithinGroup(std::vector<TDataStep>& aSteps, size_t nFirst,
                        const std::vector<const TModelTable*>& aGroup) {
    TStatements aOff, aOn;
    for (const TModelTable* pTable : aGroup)
        for (const TModelForeignKey& fk : pTable->aForeignKeys) {
            const bool bWithin = std::any_of(aGroup.begin(), aGroup.end(), [&](const TModelTable* pOther) {
                return References(fk, *pOther);
            });
            if (!bWithin || fk.bDisabled)
                continue;
            aOff.push_back(DisableConstraint(*pTable, fk.strName));
            aOn.push_back(EnableConstraint(*pTable, fk.strName, !fk.bNotTrusted));
        }
    if (aOff.empty())
        return;
    aSteps[nFirst].strBefore = ScriptText(std::move(aOff));
    aSteps.back().strAfter = ScriptText(std::move(aOn));
}

void Prepend(std::string& strText, TStatements aStatements) {
    if (!aStatements.empty())
        strText = ScriptText(std::move(aStatements)) + strText;
}

void Append(std::string& strText, TStatements aStatements) {
    if (!aStatements.empty())
        strText += ScriptText(std::move(aStatements));
}

size_t StepOf(const std::vector<const TModelTable*>& aStepTables, const std::string& strSchema,
              const std::string& strName) {
    for (size_t i = 0; i < aStepTables.size(); ++i)
        if (aStepTables[i]->strSchema == strSchema && aStepTables[i]->strName == strName)
            return i;
    return aStepTables.size();
}

// A period's columns take the rows' values only while it is dropped; a history table takes rows only while
// versioning is off, which it is already where the script makes the tables and turns it on after the rows.
void LoadAroundPeriods(std::vector<TDataStep>& aSteps, const std::vector<const TModelTable*>& aStepTables,
                       bool bDataOnly) {
    for (size_t i = 0; i < aSteps.size(); ++i) {
        const TModelTable& table = *aStepTables[i];
        if (table.period) {
            Prepend(aSteps[i].strBefore, DropPeriod(table));
            Append(aSteps[i].strAfter, AddPeriod(table));
        }
        if (!bDataOnly || !table.versioning)
            continue;
        const size_t nHistory =
            StepOf(aStepTables, table.versioning->strHistorySchema, table.versioning->strHistoryTable);
        const bool bHistory = nHistory < aSteps.size();
        Prepend(aSteps[bHistory ? std::min(i, nHistory) : i].strBefore, VersioningOff(table));
        Append(aSteps[bHistory ? std::max(i, nHistory) : i].strAfter, VersioningOn(table));
    }
}

} // namespace

bool MatchesTablePattern(std::string_view strSchema, std::string_view strName, const TTablePattern& pattern) {
    const CNameMatcher matcher(false);
    return (pattern.strSchema.empty() || matcher.Matches(strSchema, pattern.strSchema)) &&
           matcher.Matches(strName, pattern.strName);
}

TDataTable DataTableOf(const TModelTable& table) {
    TDataTable data{table.strSchema, table.strName, {}, {}, {}};
    for (const TModelColumn& column : table.aColumns) {
        if (column.computed || column.IsRowVersion())
            continue;
        const std::string& strType =
            column.type.strSystemName.empty() ? column.type.strName : column.type.strSystemName;
        data.aColumns.push_back({column.strName, strType, column.type.nMaxLength});
        if (column.identity)
            data.identity =
                TDataIdentity{data.aColumns.size() - 1, column.identity->strIncrement.starts_with('-'), {}};
    }
    for (const TModelIndex& index : table.aIndexes)
        if (index.bClustered)
            AddOrderKeys(data, table, index);
    for (const TModelIndex& index : table.aIndexes)
        if (index.eKind == eModelIndexKind::PrimaryKey)
            AddOrderKeys(data, table, index);
    return data;
}

std::vector<TDataStep> PlanData(const TCatalogModel& model, const std::vector<TTablePattern>& aPatterns,
                                bool bDataOnly, const std::function<bool(const TModelTable&)>& pfnPicked) {
    std::vector<const TModelTable*> aTables;
    std::unordered_map<std::string, size_t> mapPosition;
    for (const TModelTable& table : model.aTables) {
        const bool bWanted =
            (!pfnPicked || pfnPicked(table)) &&
            (aPatterns.empty() ||
             std::any_of(aPatterns.begin(), aPatterns.end(), [&](const TTablePattern& pattern) {
                 return MatchesTablePattern(table.strSchema, table.strName, pattern);
             }));
        if (bWanted) {
            mapPosition[SchemaNameKey(table.strSchema, table.strName)] = aTables.size();
            aTables.push_back(&table);
        }
    }
    TReferences aReferences(aTables.size());
    for (size_t i = 0; i < aTables.size(); ++i)
        for (const TModelForeignKey& fk : aTables[i]->aForeignKeys)
            if (const auto it =
                    mapPosition.find(SchemaNameKey(fk.strReferencedSchema, fk.strReferencedTable));
                it != mapPosition.end())
                aReferences[i].push_back(it->second);
    std::vector<TDataStep> aSteps;
    std::vector<const TModelTable*> aStepTables;
    for (const std::vector<size_t>& aGroup : OrderByReferences(aReferences)) {
        const size_t nFirst = aSteps.size();
        std::vector<const TModelTable*> aGroupTables;
        for (const size_t i : aGroup) {
            aSteps.push_back({DataTableOf(*aTables[i]), {}, {}});
            aGroupTables.push_back(aTables[i]);
        }
        if (bDataOnly)
            DisableWithinGroup(aSteps, nFirst, aGroupTables);
        aStepTables.insert(aStepTables.end(), aGroupTables.begin(), aGroupTables.end());
    }
    LoadAroundPeriods(aSteps, aStepTables, bDataOnly);
    return aSteps;
}
