#include "compare/RowComparison.h"

#include "platform/Text.h"
#include "recreate/DataPlan.h"
#include "recreate/DataValues.h"
#include "recreate/DdlText.h"
#include "recreate/KindProperties.h"

#include <algorithm>
#include <strings.h>

namespace {

std::string Subject(const TModelTable& table) {
    return table.strSchema + "." + table.strName;
}

bool IsKeyable(const TModelIndex& index, const TModelTable& table) {
    if ((index.eKind != eModelIndexKind::PrimaryKey && !index.bUnique) || !index.strFilter.empty() ||
        index.bDisabled || index.aKeys.empty())
        return false;
    return std::all_of(index.aKeys.begin(), index.aKeys.end(), [&](const TModelIndexColumn& key) {
        const TModelColumn* pColumn = table.FindColumn(key.strColumn);
        return pColumn && !pColumn->computed && !pColumn->IsRowVersion();
    });
}

// What the rows are matched by: the clustered index where it is unique (the order the table keeps its rows
// in), else the primary key, else the first unique index.
const TModelIndex* KeyOf(const TModelTable& table) {
    const auto first = [&table](auto&& pfnWanted) -> const TModelIndex* {
        for (const TModelIndex& index : table.aIndexes)
            if (IsKeyable(index, table) && pfnWanted(index))
                return &index;
        return nullptr;
    };
    if (const TModelIndex* pClustered = first([](const TModelIndex& index) { return index.bClustered; }))
        return pClustered;
    if (const TModelIndex* pPrimary =
            first([](const TModelIndex& index) { return index.eKind == eModelIndexKind::PrimaryKey; }))
        return pPrimary;
    return first([](const TModelIndex&) { return true; });
}

bool SameKey(const TModelIndex& a, const TModelIndex& b) {
    return std::equal(a.aKeys.begin(), a.aKeys.end(), b.aKeys.begin(), b.aKeys.end(),
                      [](const TModelIndexColumn& x, const TModelIndexColumn& y) {
                          return strcasecmp(x.strColumn.c_str(), y.strColumn.c_str()) == 0 &&
                                 x.bDescending == y.bDescending;
                      });
}

size_t ColumnIndex(const TDataTable& table, const std::string& strColumn) {
    for (size_t i = 0; i < table.aColumns.size(); ++i)
        if (strcasecmp(table.aColumns[i].strName.c_str(), strColumn.c_str()) == 0)
            return i;
    return table.aColumns.size();
}

// The rows read in the key's order. Where the table's own order (its clustered index) begins with the key,
// the select is the one --data sends, which a snapshot recorded by it answers.
TDataTable KeyOrdered(TDataTable data, const TModelIndex& key) {
    const bool bKeyFirst =
        data.aOrder.size() >= key.aKeys.size() &&
        std::equal(key.aKeys.begin(), key.aKeys.end(), data.aOrder.begin(),
                   [](const TModelIndexColumn& column, const TDataOrderKey& order) {
                       return column.strColumn == order.strColumn && column.bDescending == order.bDescending;
                   });
    if (bKeyFirst)
        return data;
    data.aOrder.clear();
    for (const TModelIndexColumn& column : key.aKeys)
        data.aOrder.push_back({column.strColumn, column.bDescending});
    return data;
}

const TDataType& TypeOf(const TDataTable& table, size_t nColumn) {
    return DataTypeOf(table, table.aColumns[nColumn]);
}

// Key types whose order on the server the comparison follows, near enough to be checked row by row.
bool IsOrdered(eDataKind eKind) {
    switch (eKind) {
    case eDataKind::Number:
    case eDataKind::Text:
    case eDataKind::Binary:
    case eDataKind::Date:
    case eDataKind::Time:
    case eDataKind::DateTime:
    case eDataKind::Guid:
        return true;
    default:
        return false;
    }
}

int Sign(int n) {
    return (n > 0) - (n < 0);
}

// Decimal digits as the driver gives them, with a sign and a point.
int CompareMagnitudes(std::string_view a, std::string_view b) {
    const auto split = [](std::string_view str) {
        const size_t nPoint = std::min(str.find('.'), str.size());
        std::string_view strWhole = str.substr(0, nPoint), strFraction = str.substr(nPoint);
        while (!strWhole.empty() && strWhole.front() == '0')
            strWhole.remove_prefix(1);
        if (!strFraction.empty())
            strFraction.remove_prefix(1);
        while (!strFraction.empty() && strFraction.back() == '0')
            strFraction.remove_suffix(1);
        return std::pair(strWhole, strFraction);
    };
    const auto [strWholeA, strFractionA] = split(a);
    const auto [strWholeB, strFractionB] = split(b);
    if (strWholeA.size() != strWholeB.size())
        return strWholeA.size() < strWholeB.size() ? -1 : 1;
    if (const int n = strWholeA.compare(strWholeB))
        return Sign(n);
    return Sign(strFractionA.compare(strFractionB));
}

int CompareNumbers(std::string_view a, std::string_view b) {
    const bool bNegativeA = a.starts_with('-'), bNegativeB = b.starts_with('-');
    if (bNegativeA != bNegativeB)
        return bNegativeA ? -1 : 1;
    if (!bNegativeA)
        return CompareMagnitudes(a, b);
    return -CompareMagnitudes(a.substr(1), b.substr(1));
}

// As a case-insensitive collation compares, trailing blanks left aside; where it orders otherwise (accents,
// punctuation), the check of each stream's order finds it.
int CompareTexts(std::string_view a, std::string_view b) {
    const auto trimmed = [](std::string_view str) {
        while (!str.empty() && str.back() == ' ')
            str.remove_suffix(1);
        return str;
    };
    a = trimmed(a);
    b = trimmed(b);
    const auto folded = [](char ch) {
        return static_cast<unsigned char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    };
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int chA = folded(a[i]), chB = folded(b[i]);
        if (chA != chB)
            return chA < chB ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// uniqueidentifier values compare by their bytes, the last six first and the first four last.
int CompareGuids(std::string_view a, std::string_view b) {
    static constexpr std::pair<size_t, size_t> kGroups[] = {{24, 12}, {19, 4}, {14, 4}, {9, 4}, {0, 8}};
    for (const auto& [nAt, nLength] : kGroups) {
        const int n = CompareTexts(a.substr(std::min(nAt, a.size()), nLength),
                                   b.substr(std::min(nAt, b.size()), nLength));
        if (n != 0)
            return n;
    }
    return 0;
}

int CompareValues(eDataKind eKind, const TDbValue& a, const TDbValue& b) {
    if (!a || !b)
        return bool(a) - bool(b); // NULL first, as the server orders it
    switch (eKind) {
    case eDataKind::Number:
        return CompareNumbers(*a, *b);
    case eDataKind::Text:
        return CompareTexts(*a, *b);
    case eDataKind::Guid:
        return CompareGuids(*a, *b);
    default:
        return Sign((*a).compare(*b));
    }
}

struct TKeyPart {
    eDataKind eKind = eDataKind::Number;
    bool bDescending = false;
};

// One side's rows as they come, the fields of each column found, and each key checked to follow the one
// before it.
class CRowStream {
public:
    CRowStream(CDbConnection& db, const TDataTable& table, const std::vector<size_t>& aKey,
               const std::vector<TKeyPart>& aParts)
        : m_table(table), m_aKey(aKey), m_aParts(aParts), m_rows(db, table) {
        size_t nField = 0;
        for (size_t i = 0; i < table.aColumns.size(); ++i) {
            m_aTypes.push_back(&TypeOf(table, i));
            m_aFirstFields.push_back(nField);
            nField += FieldCount(*m_aTypes.back());
        }
        Next();
    }

    bool AtEnd() const { return !m_row; }

    void Next() {
        m_row = m_rows.Fetch();
        if (!m_row)
            return;
        if (!m_aLastKey.empty() && CompareKeys(m_aLastKey.data(), *this) >= 0)
            throw CModelError(eModelTask::ReadRows, m_table.strSchema + "." + m_table.strName,
                              "its rows do not come in the order of their key as the comparison follows it "
                              "(a collation that orders accents or punctuation otherwise)");
        m_aLastKeyText.clear();
        for (const size_t nColumn : m_aKey) {
            const TDbValue& value = Field(nColumn);
            m_aLastKeyText.push_back(value ? std::optional<std::string>(*value) : std::nullopt);
        }
        m_aLastKey.clear();
        for (const std::optional<std::string>& strValue : m_aLastKeyText)
            m_aLastKey.push_back(strValue ? TDbValue(*strValue) : TDbValue());
    }

    const TDbValue& Field(size_t nColumn) const { return (*m_row)[m_aFirstFields[nColumn]]; }

    // The fields of a column, all of them, alike on both sides.
    bool SameFields(size_t nColumn, const CRowStream& other, size_t nOther) const {
        const size_t nCount = FieldCount(*m_aTypes[nColumn]);
        if (nCount != FieldCount(*other.m_aTypes[nOther]))
            return false;
        for (size_t i = 0; i < nCount; ++i)
            if (!((*m_row)[m_aFirstFields[nColumn] + i] == (*other.m_row)[other.m_aFirstFields[nOther] + i]))
                return false;
        return true;
    }

    std::string Literal(size_t nColumn) const {
        std::string strLiteral;
        if (!AppendLiteral(strLiteral, *m_aTypes[nColumn], &Field(nColumn)))
            ThrowUnwritable(m_table, m_table.aColumns[nColumn], Field(nColumn));
        return strLiteral;
    }

    std::vector<std::string> KeyLiterals() const {
        std::vector<std::string> aLiterals;
        for (const size_t nColumn : m_aKey)
            aLiterals.push_back(Literal(nColumn));
        return aLiterals;
    }

    // The order of the key aValues (one value a key column) against this row's.
    int CompareKeys(const TDbValue* aValues, const CRowStream& other) const {
        for (size_t i = 0; i < m_aParts.size(); ++i) {
            const int n = CompareValues(m_aParts[i].eKind, aValues[i], other.Field(other.m_aKey[i]));
            if (n != 0)
                return m_aParts[i].bDescending ? -n : n;
        }
        return 0;
    }

    int CompareKeys(const CRowStream& other) const {
        std::vector<TDbValue> aValues;
        for (const size_t nColumn : m_aKey)
            aValues.push_back(Field(nColumn));
        return CompareKeys(aValues.data(), other);
    }

private:
    const TDataTable& m_table;
    const std::vector<size_t>& m_aKey;
    const std::vector<TKeyPart>& m_aParts;
    CTableRows m_rows;
    std::vector<const TDataType*> m_aTypes;
    std::vector<size_t> m_aFirstFields;
    std::optional<TDbRow> m_row;
    std::vector<std::optional<std::string>> m_aLastKeyText; // the row before, whose fields are gone
    std::vector<TDbValue> m_aLastKey;
};

std::optional<TRowDifference> Changed(const CRowStream& from, const CRowStream& to, const TRowTable& table) {
    TRowDifference row;
    for (const auto& [nFrom, nTo] : table.aCompared) {
        if (from.SameFields(nFrom, to, nTo))
            continue;
        std::string strOld = from.Literal(nFrom), strNew = to.Literal(nTo);
        if (strOld != strNew)
            row.aChanges.push_back({nTo, std::move(strOld), std::move(strNew)});
    }
    if (row.aChanges.empty())
        return std::nullopt;
    row.aKey = to.KeyLiterals();
    return row;
}

TRowDifference Added(const CRowStream& to, const TRowTable& table) {
    TRowDifference row{eRowChange::Added, to.KeyLiterals(), {}, {}};
    for (size_t i = 0; i < table.to.aColumns.size(); ++i)
        row.aValues.push_back(to.Literal(i));
    return row;
}

// Statements gathered into batches of at most kBatchRows rows and about kBatchBytes.
class CRowBatches {
public:
    void Add(std::string strText, long nRows) {
        const bool bBegins = m_nRows >= kBatchRows || m_nBytes >= kBatchBytes;
        if (bBegins)
            m_nRows = m_nBytes = 0;
        m_nRows += nRows;
        m_nBytes += strText.size();
        m_aStatements.push_back({std::move(strText), bBegins ? eBatchPlace::Begins : eBatchPlace::Joins});
    }

    TStatements Statements() { return std::move(m_aStatements); }

private:
    TStatements m_aStatements;
    long m_nRows = 0;
    size_t m_nBytes = 0;
};

std::string TableName(const TDataTable& table) {
    return QuoteName(table.strSchema, table.strName);
}

std::string KeyCondition(const TRowTable& table, const TRowDifference& row) {
    std::string strCondition;
    for (size_t i = 0; i < table.aKeyTo.size(); ++i) {
        if (i > 0)
            strCondition += " AND ";
        strCondition += QuoteName(table.to.aColumns[table.aKeyTo[i]].strName);
        strCondition += row.aKey[i] == "NULL" ? " IS NULL" : " = " + row.aKey[i];
    }
    return strCondition;
}

std::string UpdateText(const TRowTable& table, const TRowDifference& row) {
    std::string strText = "UPDATE " + TableName(table.to) + " SET ";
    for (const TValueChange& change : row.aChanges) {
        if (&change != &row.aChanges.front())
            strText += ", ";
        strText += QuoteName(table.to.aColumns[change.nColumn].strName) + " = " + change.strNew;
    }
    return strText + " WHERE " + KeyCondition(table, row) + ";";
}

void AddInserts(CRowBatches& batches, const TTableRowDifferences& rows) {
    const TDataTable& table = rows.table.to;
    const size_t nPerInsert = static_cast<size_t>(TDataOptions().nRowsPerInsert);
    std::vector<const TRowDifference*> aAdded;
    for (const TRowDifference& row : rows.aRows)
        if (row.eChange == eRowChange::Added)
            aAdded.push_back(&row);
    if (aAdded.empty())
        return;
    if (table.identity)
        batches.Add(IdentityInsert(table, true), 0);
    for (size_t nFirst = 0; nFirst < aAdded.size(); nFirst += nPerInsert) {
        std::string strText = InsertHead(table);
        const size_t nEnd = std::min(aAdded.size(), nFirst + nPerInsert);
        for (size_t i = nFirst; i < nEnd; ++i)
            strText.append(i > nFirst ? "," + LineEnd() : std::string())
                .append("(" + JoinText(aAdded[i]->aValues) + ")");
        batches.Add(strText + ";", static_cast<long>(nEnd - nFirst));
    }
    if (table.identity)
        batches.Add(IdentityInsert(table, false), 0);
}

} // namespace

TRowTable RowTableOf(const TModelTable& from, const TModelTable& to) {
    const auto refuse = [&to](const std::string& strReason) {
        throw CModelError(eModelTask::ReadRows, Subject(to), strReason);
    };
    const TModelIndex* pKeyFrom = KeyOf(from);
    const TModelIndex* pKeyTo = KeyOf(to);
    if (!pKeyFrom || !pKeyTo)
        refuse("the table has neither a primary key nor a unique index to match its rows by");
    if (!SameKey(*pKeyFrom, *pKeyTo))
        refuse("the table's key is not the same in FROM and in TO");
    TRowTable table{DisplayName({to.strSchema, to.strName}),
                    KeyOrdered(DataTableOf(from), *pKeyFrom),
                    KeyOrdered(DataTableOf(to), *pKeyTo),
                    {},
                    {},
                    {}};
    for (const TModelIndexColumn& key : pKeyTo->aKeys) {
        table.aKeyFrom.push_back(ColumnIndex(table.from, key.strColumn));
        table.aKeyTo.push_back(ColumnIndex(table.to, key.strColumn));
        const eDataKind eFrom = TypeOf(table.from, table.aKeyFrom.back()).eKind;
        const eDataKind eTo = TypeOf(table.to, table.aKeyTo.back()).eKind;
        if (eFrom != eTo || !IsOrdered(eTo))
            refuse("its key column " + key.strColumn +
                   " is of a type whose order the comparison does not follow");
    }
    for (size_t nTo = 0; nTo < table.to.aColumns.size(); ++nTo) {
        const size_t nFrom = ColumnIndex(table.from, table.to.aColumns[nTo].strName);
        const bool bKey = std::find(table.aKeyTo.begin(), table.aKeyTo.end(), nTo) != table.aKeyTo.end();
        if (nFrom < table.from.aColumns.size() && !bKey)
            table.aCompared.emplace_back(nFrom, nTo);
    }
    return table;
}

std::string RowKeyText(const TRowDifference& row) {
    return "(" + JoinText(row.aKey) + ")";
}

std::vector<TRowDifference> CompareRows(CDbConnection& fromDb, CDbConnection& toDb, const TRowTable& table) {
    std::vector<TKeyPart> aParts;
    for (const size_t nColumn : table.aKeyTo)
        aParts.push_back({TypeOf(table.to, nColumn).eKind, false});
    for (size_t i = 0; i < table.to.aOrder.size() && i < aParts.size(); ++i)
        aParts[i].bDescending = table.to.aOrder[i].bDescending;
    CRowStream from(fromDb, table.from, table.aKeyFrom, aParts);
    CRowStream to(toDb, table.to, table.aKeyTo, aParts);
    std::vector<TRowDifference> aRows;
    while (!from.AtEnd() || !to.AtEnd()) {
        const int nOrder = from.AtEnd() ? 1 : to.AtEnd() ? -1 : from.CompareKeys(to);
        if (nOrder < 0) {
            aRows.push_back({eRowChange::Removed, from.KeyLiterals(), {}, {}});
            from.Next();
        } else if (nOrder > 0) {
            aRows.push_back(Added(to, table));
            to.Next();
        } else {
            if (std::optional<TRowDifference> changed = Changed(from, to, table))
                aRows.push_back(std::move(*changed));
            from.Next();
            to.Next();
        }
    }
    return aRows;
}

TStatements RowStatements(const std::vector<TTableRowDifferences>& aTables) {
    CRowBatches batches;
    for (const TTableRowDifferences& rows : aTables)
        AddInserts(batches, rows);
    for (const TTableRowDifferences& rows : aTables)
        for (const TRowDifference& row : rows.aRows)
            if (row.eChange == eRowChange::Changed)
                batches.Add(UpdateText(rows.table, row), 1);
    for (auto it = aTables.rbegin(); it != aTables.rend(); ++it)
        for (const TRowDifference& row : it->aRows)
            if (row.eChange == eRowChange::Removed)
                batches.Add("DELETE FROM " + TableName(it->table.to) + " WHERE " +
                                KeyCondition(it->table, row) + ";",
                            1);
    return batches.Statements();
}
