#include "jobs/DiffRows.h"

#include "jobs/DiffTexts.h"
#include "jobs/JobFailure.h"
#include "jobs/TablePatterns.h"

#include <unordered_map>

namespace {

TModelKey TableKey(const TModelTable& table) {
    return {eModelKind::Table, table.strSchema, {}, table.strName};
}

// The row's lines: one for an added or removed row, one a changed column, which lines join.
void AddEntries(std::vector<TDiffEntry>& aEntries, const TTableRowDifferences& rows) {
    const TDataTable& table = rows.table.to;
    for (const TRowDifference& row : rows.aRows) {
        TDiffEntry entry;
        entry.eChange = row.eChange == eRowChange::Added     ? eDiffEntry::Added
                        : row.eChange == eRowChange::Removed ? eDiffEntry::Removed
                                                             : eDiffEntry::Changed;
        entry.strKind = kRowKind;
        entry.strObject = RowKeyText(row);
        entry.strName = rows.table.strName + " " + entry.strObject;
        entry.strSchema = table.strSchema;
        entry.strTable = table.strName;
        if (row.eChange != eRowChange::Changed)
            aEntries.push_back(entry);
        for (const TValueChange& change : row.aChanges) {
            aEntries.push_back(entry);
            aEntries.back().strProperty = table.aColumns[change.nColumn].strName;
            aEntries.back().strOld = change.strOld;
            aEntries.back().strNew = change.strNew;
        }
    }
}

std::optional<TRefusal> LossOf(const TTableRowDifferences& rows, const TModelKey& key) {
    const long nRemoved = std::count_if(rows.aRows.begin(), rows.aRows.end(), [](const TRowDifference& row) {
        return row.eChange == eRowChange::Removed;
    });
    if (nRemoved == 0)
        return std::nullopt;
    return TRefusal{key, rows.table.strName,
                    "deleting " + std::to_string(nRemoved) + (nRemoved == 1 ? " row" : " rows") +
                        " of table " + rows.table.strName + " loses " + (nRemoved == 1 ? "it" : "them"),
                    eMigrationOption::AllowDataLoss, nRemoved == 1 ? "deletes it" : "deletes them"};
}

} // namespace

std::optional<TRowsCompared> CompareChosenRows(const std::vector<std::string>& aPatterns,
                                               const TLoadedSide& from, const TLoadedSide& to,
                                               IJobObserver& observer) {
    const std::vector<TTablePatternText> aChosen = TablePatterns(aPatterns);
    if (!EveryTablePatternMatches({&from.model, &to.model}, aChosen, eJobOption::DataTables, observer))
        return std::nullopt;
    std::unordered_map<std::string, const TModelTable*> mapFrom;
    for (const TModelTable& table : from.model.aTables)
        mapFrom.emplace(MatchKey(TableKey(table)), &table);
    std::unordered_map<std::string, const TModelTable*> mapTo;
    for (const TModelTable& table : to.model.aTables)
        mapTo.emplace(SchemaNameKey(table.strSchema, table.strName), &table);
    const auto bothHave = [&mapFrom](const TModelTable& table) {
        return mapFrom.count(MatchKey(TableKey(table))) > 0;
    };
    TRowsCompared rows;
    try {
        for (const TDataStep& step : PlanData(to.model, TableMatches(aChosen), false, bothHave)) {
            const TModelTable& toTable = *mapTo.at(SchemaNameKey(step.table.strSchema, step.table.strName));
            const TModelTable& fromTable = *mapFrom.at(MatchKey(TableKey(toTable)));
            TTableRowDifferences table{RowTableOf(fromTable, toTable), {}};
            table.aRows = CompareRows(*from.pRows->GetBackend(), *to.pRows->GetBackend(), table.table);
            AddEntries(rows.aEntries, table);
            if (std::optional<TRefusal> loss = LossOf(table, TableKey(fromTable)))
                rows.aLosses.push_back(std::move(*loss));
            if (!table.aRows.empty())
                rows.aTables.push_back(std::move(table));
        }
    } catch (const CModelError& e) {
        observer.OnNotice(NoticeOf(e));
        return std::nullopt;
    }
    return rows;
}

void AddRowChanges(TMigrationOptions& migration, const TRowsCompared& rows) {
    migration.aRowStatements = RowStatements(rows.aTables);
    for (const TTableRowDifferences& table : rows.aTables)
        migration.aRowTables.push_back(
            {eModelKind::Table, table.table.from.strSchema, {}, table.table.from.strName});
}
