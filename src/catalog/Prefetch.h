// Catalog prefetch: each detail family read in one statement before an export run, so that the per-object
// recordsets of the run are answered from memory instead of one round trip each.
#pragma once

#include "backend/Database.h"
#include "backend/DbBackend.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
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
// A helper thread on a connection of its own reads the families, slowest first, while the run goes on; a
// recordset that needs a family the helper has not taken up yet reads it on its own connection, and one
// that needs a family being read waits for it. So two statements at most run at a time, which keeps the
// server's processors for the reading instead of for switching between readers. A family is read once
// and only read from after that.
class CPrefetchStore {
public:
    // Starts the helper. Throws CDBException* when a snapshot replay lacks the statements, before any is
    // sent.
    explicit CPrefetchStore(CDatabase& db);
    // The helper finishes the statement it is reading and closes its connection.
    ~CPrefetchStore();
    CPrefetchStore(const CPrefetchStore&) = delete;
    CPrefetchStore& operator=(const CPrefetchStore&) = delete;

    // The rows that the recordset's statement, as it is now set up, would get from the server; null
    // when they are not known for certain. A family whose statement fails has none, so that its
    // per-object statements go to the server and fail, or not, as without prefetch.
    std::unique_ptr<CDbResult> Find(const CSQLRecBase& rs);

private:
    enum class EFamilyState { Waiting, Reading, Read };
    // Rows keep their key columns at the end; the binding reads only the leading ones.
    struct TFamilyRows {
        std::vector<TDbColumn> aColumns;
        std::unordered_map<std::string, std::vector<const TDbRow*>> rows;
        std::unique_ptr<CDbResult> pSource; // kept when it keeps its rows, which are then served in place
        std::deque<TDbRow> aCopies;         // otherwise
    };
    void RunHelper(const CString& strConnect);
    // Reads the family unless another thread has taken it up, in which case it waits until that is done.
    void ReadOnce(CDbConnection& connection, EPrefetchFamily eFamily);
    void ReadFamily(CDbConnection& connection, EPrefetchFamily eFamily);
    // The rows of keys that have several, whose order only their per-object statements give, replaced by
    // what those statements return, sent in batches; a key whose batch fails is dropped, so that its
    // recordset asks the server itself.
    static void AskSeveralAgain(CDbConnection& connection,
                                CString (*pfnObjectSQL)(const CString&, const CString&), TFamilyRows& family);

    std::array<TFamilyRows, PREFETCH_FAMILY_COUNT> m_aFamilies; // written by the reader, before it is Read
    std::mutex m_lock;
    std::condition_variable m_read;
    std::array<EFamilyState, PREFETCH_FAMILY_COUNT> m_aStates{};
    bool m_bStopping = false;
    std::thread m_helper;
};
