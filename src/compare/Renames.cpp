#include "compare/Renames.h"

#include "platform/Unicode.h"
#include "recreate/DdlText.h"

#include <algorithm>
#include <optional>

namespace {

bool Same(const std::string& strOne, const std::string& strOther) {
    return FoldCaseUtf8(strOne) == FoldCaseUtf8(strOther);
}

const TModelColumn* FindColumn(const TModelTable& table, const std::string& strName) {
    const auto it = std::find_if(table.aColumns.begin(), table.aColumns.end(),
                                 [&](const TModelColumn& column) { return Same(column.strName, strName); });
    return it == table.aColumns.end() ? nullptr : &*it;
}

TModelKey TableKey(const std::string& strSchema, const std::string& strName) {
    return {eModelKind::Table, strSchema, "", strName};
}

TModelKey ColumnKey(const TModelKey& table, const std::string& strName) {
    return {eModelKind::Column, table.strSchema, table.strName, strName};
}

std::string NameOf(const TModelKey& key) {
    return DisplayName({key.strSchema, key.strTable, key.strName});
}

// The name a table has in TO: its own, or the one a request gives it.
std::string TableInTo(const std::vector<TRename>& aRequests, const TModelKey& table) {
    for (const TRename& request : aRequests)
        if (request.from.eKind == eModelKind::Table && Same(request.from.strSchema, table.strSchema) &&
            Same(request.from.strName, table.strName))
            return request.strNew;
    return table.strName;
}

// What is wrong with one request, where anything is.
std::optional<std::pair<eRenameProblem, TModelKey>> Problem(const TRename& request,
                                                            const std::vector<TRename>& aRequests,
                                                            const TCatalogModel& from,
                                                            const TCatalogModel& to) {
    using TFound = std::pair<eRenameProblem, TModelKey>;
    const TModelKey& old = request.from;
    const TModelKey table =
        TableKey(old.strSchema, old.eKind == eModelKind::Table ? old.strName : old.strTable);
    const TModelTable* pFromTable = from.FindTable(table.strSchema, table.strName);
    if (!pFromTable)
        return TFound{eRenameProblem::NotInFrom, table};
    if (old.eKind == eModelKind::Table) {
        const TModelKey renamed = TableKey(old.strSchema, request.strNew);
        if (!to.FindTable(renamed.strSchema, renamed.strName))
            return TFound{eRenameProblem::NotInTo, renamed};
        if (from.FindTable(renamed.strSchema, renamed.strName))
            return TFound{eRenameProblem::TakenInFrom, renamed};
        return std::nullopt;
    }
    if (!FindColumn(*pFromTable, old.strName))
        return TFound{eRenameProblem::NotInFrom, old};
    const TModelKey toTable = TableKey(old.strSchema, TableInTo(aRequests, table));
    const TModelTable* pToTable = to.FindTable(toTable.strSchema, toTable.strName);
    if (!pToTable)
        return TFound{eRenameProblem::NotInTo, toTable};
    if (!FindColumn(*pToTable, request.strNew))
        return TFound{eRenameProblem::NotInTo, ColumnKey(toTable, request.strNew)};
    if (FindColumn(*pFromTable, request.strNew))
        return TFound{eRenameProblem::TakenInFrom, ColumnKey(table, request.strNew)};
    return std::nullopt;
}

// Where a column stands in its table.
size_t Position(const TCompareObject& object) {
    const auto& [pTable, pColumn] = std::get<TTablePart<TModelColumn>>(object.object);
    return static_cast<size_t>(pColumn - pTable->aColumns.data());
}

const TModelColumn& ColumnOf(const TCompareObject& object) {
    return *std::get<TTablePart<TModelColumn>>(object.object).pPart;
}

// A column's match key without its own name: the table it is matched in, under TO's names.
std::string_view MatchedTable(const TCompareObject& column) {
    const std::string_view strMatch = column.strMatch;
    return strMatch.substr(0, strMatch.rfind('\0'));
}

bool ColumnLooksRenamed(const TCompareObject& removed, const TCompareObject& added) {
    return MatchedTable(removed) == MatchedTable(added) && Position(removed) == Position(added) &&
           TypeText(ColumnOf(removed).type) == TypeText(ColumnOf(added).type);
}

bool SameColumns(const TModelTable& one, const TModelTable& other) {
    return one.aColumns.size() == other.aColumns.size() &&
           std::equal(one.aColumns.begin(), one.aColumns.end(), other.aColumns.begin(),
                      [](const TModelColumn& a, const TModelColumn& b) {
                          return Same(a.strName, b.strName) && TypeText(a.type) == TypeText(b.type);
                      });
}

// Tables of one sort only: a temporal table and a history table have the same columns, and so may a node
// table and a plain one.
bool TableLooksRenamed(const TCompareObject& removed, const TCompareObject& added) {
    const TModelTable& from = *std::get<const TModelTable*>(removed.object);
    const TModelTable& to = *std::get<const TModelTable*>(added.object);
    return Same(removed.key.strSchema, added.key.strSchema) &&
           from.period.has_value() == to.period.has_value() && from.eGraph == to.eGraph &&
           SameColumns(from, to);
}

std::string Hint(const TCompareObject& removed, const TCompareObject& added, const char* pszKind) {
    return "? " + removed.strName + " -> " + added.strName + " looks like a rename: --rename " + pszKind +
           " " + removed.strName + "=" + DisplayName({added.key.strName}) + "\n";
}

// The objects of the kind that only one side has, in the differences' order.
std::vector<const TCompareObject*> OnlyOn(const std::vector<const TModelDifference*>& aDifferences,
                                          eDiffChange eChange, eModelKind eKind) {
    std::vector<const TCompareObject*> aObjects;
    for (const TModelDifference* pDifference : aDifferences)
        if (pDifference->eChange == eChange && pDifference->Object().key.eKind == eKind)
            aObjects.push_back(&pDifference->Object());
    return aObjects;
}

} // namespace

CRenames::CRenames(std::vector<TRename> aRenames) : m_aRenames(std::move(aRenames)) {
    std::stable_partition(m_aRenames.begin(), m_aRenames.end(),
                          [](const TRename& rename) { return rename.from.eKind == eModelKind::Column; });
}

TModelKey CRenames::AsInTo(TModelKey key) const {
    for (const TRename& rename : m_aRenames) {
        const TModelKey& old = rename.from;
        if (!Same(key.strSchema, old.strSchema))
            continue;
        if (old.eKind == eModelKind::Column) {
            if ((key.eKind == eModelKind::Column || key.eKind == eModelKind::Default) &&
                Same(key.strTable, old.strTable) && Same(key.strName, old.strName))
                key.strName = rename.strNew;
        } else if (key.eKind == eModelKind::Table && key.strTable.empty()) {
            if (Same(key.strName, old.strName))
                key.strName = rename.strNew;
        } else if (Same(key.strTable, old.strName)) {
            key.strTable = rename.strNew;
        }
    }
    return key;
}

TStatement CRenames::Statement(const TRename& rename) {
    const TModelKey& old = rename.from;
    const bool bColumn = old.eKind == eModelKind::Column;
    // Parts delimited only where they must be: a server may find no table its name in brackets names.
    const std::string strOld = DisplayName({old.strSchema, old.strTable, old.strName});
    return {"EXEC sys.sp_rename " + UnicodeLiteral(strOld) + ", " + UnicodeLiteral(rename.strNew) + ", " +
            (bColumn ? "N'COLUMN';" : "N'OBJECT';")};
}

TRenameCheck CheckRenames(std::vector<TRename> aRequests, const TCatalogModel& from,
                          const TCatalogModel& to) {
    TRenameCheck check;
    for (size_t i = 0; i < aRequests.size(); ++i)
        if (const auto problem = Problem(aRequests[i], aRequests, from, to)) {
            check.eProblem = problem->first;
            check.nRequest = i;
            check.object = problem->second;
            check.strName = NameOf(problem->second);
            return check;
        }
    check.renames = CRenames(std::move(aRequests));
    return check;
}

std::string RenameHints(const std::vector<const TModelDifference*>& aDifferences) {
    std::string strHints;
    for (const eModelKind eKind : {eModelKind::Table, eModelKind::Column}) {
        std::vector<const TCompareObject*> aAdded = OnlyOn(aDifferences, eDiffChange::Added, eKind);
        const auto looksRenamed = eKind == eModelKind::Table ? &TableLooksRenamed : &ColumnLooksRenamed;
        for (const TCompareObject* pRemoved : OnlyOn(aDifferences, eDiffChange::Removed, eKind)) {
            const auto it = std::find_if(aAdded.begin(), aAdded.end(), [&](const TCompareObject* pAdded) {
                return looksRenamed(*pRemoved, *pAdded);
            });
            if (it == aAdded.end())
                continue;
            strHints += Hint(*pRemoved, **it, eKind == eModelKind::Table ? "table" : "column");
            aAdded.erase(it);
        }
    }
    return strHints;
}
