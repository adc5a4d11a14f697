// Catalog prefetch: each detail family read in one statement before an export run, so that the per-object
// recordsets of the run are answered from memory instead of one round trip each.
#pragma once

#include "backend/Database.h"
#include "backend/DbBackend.h"
#include "catalog/PrefetchKey.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

class CSQLRecBase;
struct TPrefetchFamily;

// The family's statement: the per-object template's select list with pszKeyColumns added before strFrom
// (the main FROM), the template from strWhere on replaced by pszTail. Every value a per-object statement
// returns is thus computed by the server with the very same expression.
CString DerivePrefetchSQL(std::string_view strTemplate, std::string_view strFrom, const char* pszKeyColumns,
                          std::string_view strWhere, const char* pszTail);

// The statement that reads the whole family; its rows end with the family's key columns: the object's id
// (for index columns also the index id), then the names that the per-object statement resolves to it.
// Throws CDBException* when a per-object template no longer holds the text it is spliced at.
CString GetPrefetchSQL(EPrefetchFamily eFamily);

// The rows of each family, grouped by object id. A helper thread on a connection of its own reads the
// families, slowest first, while the run goes on; a recordset that needs a family the helper has not taken
// up yet reads it on its own connection, and one that needs a family being read waits for it. So two
// statements at most run at a time, which keeps the server's processors for the reading instead of for
// switching between readers. A family is read once and only read from after that.
class CPrefetchStore {
public:
    // Starts the helper. Throws CDBException* when a family statement cannot be built, or when a snapshot
    // replay lacks the statements, before any is sent.
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
        std::unordered_map<std::int64_t, std::vector<TDbRow>> rows; // by object key
        // The object key of each object's names; none where two objects share them.
        std::unordered_map<std::string, std::optional<std::int64_t>> names;
        std::unique_ptr<CDbResult> pSource; // kept when it keeps its rows, which are then served in place
        CHeldRows copies;                   // otherwise, and those asked again
    };
    void RunHelper(const CString& strConnect);
    // Reads the family unless another thread has taken it up, in which case it waits until that is done.
    void ReadOnce(CDbConnection& connection, EPrefetchFamily eFamily);
    void ReadFamily(CDbConnection& connection, EPrefetchFamily eFamily);
    // The family's rows, grouped by object, with the names of each object filed.
    static TFamilyRows ReadRows(std::unique_ptr<CDbResult> pResult, const TPrefetchFamily& def);
    // Files the object under its names, unless they are not certain; names that two objects share lead
    // to neither.
    static void IndexNames(TFamilyRows& family, std::int64_t nObject, TDbRow aNames);
    // The rows of objects that have several, whose order only their per-object statements give, replaced
    // by what those statements return, sent in batches; an object whose batch fails is dropped, so that its
    // recordset asks the server itself.
    static void AskSeveralAgain(CDbConnection& connection, const TPrefetchFamily& def, TFamilyRows& family);

    std::array<CString, PREFETCH_FAMILY_COUNT> m_aSQL;
    std::array<TFamilyRows, PREFETCH_FAMILY_COUNT> m_aFamilies; // written by the reader, before it is Read
    std::mutex m_lock;
    std::condition_variable m_read;
    std::array<EFamilyState, PREFETCH_FAMILY_COUNT> m_aStates{};
    bool m_bStopping = false;
    std::thread m_helper;
};
