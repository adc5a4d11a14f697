// Catalog prefetch: each detail family read in one statement before an export run, so that the per-object
// recordsets of the run are answered from memory instead of one round trip each.
#pragma once

#include "backend/Database.h"
#include "backend/DbBackend.h"

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CSQLRecBase;

// The per-object statements that a family's one statement replaces.
enum class EPrefetchFamily : int {
    Columns,
    IndexColumns,
    ForeignKeys,
    ForeignKeyColumns,
    FullTextColumns,
    Modules,
    UserTypes,
    PrimaryKeys,
    Checks,
};
constexpr size_t PREFETCH_FAMILY_COUNT = 9;

// The family's statement: the per-object template's select list with pszKeyColumns added before strFrom
// (the main FROM), the template from strWhere on replaced by pszTail. Every value a per-object statement
// returns is thus computed by the server with the very same expression.
CString DerivePrefetchSQL(std::string_view strTemplate, std::string_view strFrom, const char* pszKeyColumns,
                          std::string_view strWhere, const char* pszTail);

// The statement that reads the whole family; its rows end with the family's key columns.
CString GetPrefetchSQL(EPrefetchFamily eFamily);

// The rows of one family, grouped by the values of their key columns, which they no longer carry.
class CPrefetchStore {
public:
    // Reads every family on that connection. A family whose statement fails stays empty, so that its
    // per-object statements go to the server as without prefetch. A snapshot replay that lacks the
    // statements throws CDBException* saying so, before any is sent.
    void Fill(CDatabase& db);
    // The rows that the recordset's statement, as it is now set up, would get from the server; null
    // when they are not known for certain.
    std::unique_ptr<CDbResult> Find(const CSQLRecBase& rs) const;

private:
    // Rows keep their key columns at the end; the binding reads only the leading ones.
    struct TFamilyRows {
        std::vector<TDbColumn> aColumns;
        std::unordered_map<std::string, std::vector<const TDbRow*>> rows;
        std::unique_ptr<CDbResult> pSource; // kept when it keeps its rows, which are then served in place
        std::deque<TDbRow> aCopies;         // otherwise
    };
    void FillFamily(CDbConnection& connection, EPrefetchFamily eFamily);

    std::array<TFamilyRows, PREFETCH_FAMILY_COUNT> m_aFamilies;
};
