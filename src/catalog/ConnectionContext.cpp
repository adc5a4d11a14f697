#include "catalog/ConnectionContext.h"

#include "catalog/Prefetch.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct TConnectionContext {
    CDatabase* pDatabase = nullptr;
    CString strConnect;
    bool bPooled = false;
    bool bPrefetch = false;
    std::unique_ptr<CPrefetchStore> pPrefetch;
};

TConnectionContext& Context() {
    static TConnectionContext context;
    return context;
}

// Entries are kept by pointer so that an entry handed out stays valid while the array grows.
struct TConnectionPool {
    CCriticalSection lock;
    std::vector<std::unique_ptr<TPoolEntry>> aEntries;
};

TConnectionPool& Pool() {
    static TConnectionPool pool;
    return pool;
}

std::atomic<int> g_nDefinitionLength{0};

constexpr int DEFAULT_DEFINITION_LENGTH = 256;

} // namespace

void SetConnectionContext(CDatabase* pDatabase, bool bPooled, bool bPrefetch) {
    TConnectionContext& context = Context();
    context.pDatabase = pDatabase;
    context.strConnect = pDatabase ? pDatabase->GetConnect() : CString();
    context.strConnect.Replace("ODBC;", "");
    context.bPooled = bPooled;
    context.bPrefetch = bPrefetch;
    context.pPrefetch.reset();
}

CDatabase* GetContextDatabase() {
    return Context().pDatabase;
}
const CString& GetContextConnectString() {
    return Context().strConnect;
}
bool IsPoolEnabled() {
    return Context().bPooled;
}

void PrefetchCatalog() {
    TConnectionContext& context = Context();
    if (!context.bPrefetch || !context.pDatabase || !context.pDatabase->IsOpen())
        return;
    context.pPrefetch = std::make_unique<CPrefetchStore>(*context.pDatabase);
}

CPrefetchStore* GetPrefetchStore() {
    return Context().pPrefetch.get();
}

void DropPrefetchedRows() {
    Context().pPrefetch.reset();
}

CDatabase* AcquireConnection() {
    TConnectionPool& pool = Pool();
    CSingleLock lock(&pool.lock, TRUE);
    TPoolEntry* pEntry = nullptr;
    for (const auto& pCandidate : pool.aEntries) {
        if (!pCandidate->bInUse) {
            pEntry = pCandidate.get();
            break;
        }
    }
    if (!pEntry)
        pEntry = CreatePooledConnection();
    if (!pEntry)
        return GetContextDatabase();
    pEntry->bInUse = true;
    return pEntry->pConnection;
}

void ReleaseConnection(CDatabase* pDatabase) {
    TConnectionPool& pool = Pool();
    CSingleLock lock(&pool.lock, TRUE);
    for (const auto& pEntry : pool.aEntries) {
        if (pEntry->pConnection == pDatabase) {
            pEntry->bInUse = false;
            return;
        }
    }
}

TPoolEntry* CreatePooledConnection() {
    auto pDatabase = std::make_unique<CDatabase>();
    try {
        pDatabase->OpenEx(GetContextConnectString(), CDatabase::noOdbcDialog);
        pDatabase->SetQueryTimeout(POOLED_QUERY_TIMEOUT);
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        return nullptr;
    } catch (...) {
        return nullptr;
    }
    auto pEntry = std::make_unique<TPoolEntry>();
    pEntry->pConnection = pDatabase.release();
    Pool().aEntries.push_back(std::move(pEntry));
    return Pool().aEntries.back().get();
}

void CloseAllConnections() {
    TConnectionPool& pool = Pool();
    for (const auto& pEntry : pool.aEntries) {
        if (pEntry->pConnection->IsOpen())
            pEntry->pConnection->Close();
        delete pEntry->pConnection;
    }
    pool.aEntries.clear();
}

int GetPooledConnectionCount() {
    TConnectionPool& pool = Pool();
    CSingleLock lock(&pool.lock, TRUE);
    return static_cast<int>(pool.aEntries.size());
}

CString GetDefinitionLengthSQL(const char* pszTable) {
    CString strSQL;
    strSQL.Format("SELECT MAX(DATALENGTH(%s)) FROM %s", "definition", pszTable);
    return strSQL;
}

int ProbeDefinitionLength(CDatabase* pDatabase, const char* pszTable) {
    const CString strSQL = GetDefinitionLengthSQL(pszTable);
    CString strValue;
    try {
        CRecordset rs(pDatabase);
        rs.Open(CRecordset::snapshot, strSQL, CRecordset::readOnly);
        if (!rs.IsEOF())
            rs.GetFieldValue(static_cast<short>(0), strValue);
        rs.Close();
    } catch (CDBException* e) {
        const CExceptionPtr<> guard(e);
        return 0;
    }
    return std::atoi(strValue);
}

void EnsureDefinitionLength(CDatabase* pDatabase, const char* pszTable) {
    if (g_nDefinitionLength.load() != 0)
        return;
    const int nLength = ProbeDefinitionLength(pDatabase, pszTable);
    g_nDefinitionLength.store(nLength != 0 ? nLength : DEFAULT_DEFINITION_LENGTH);
}

int GetDefinitionLength() {
    return g_nDefinitionLength.load();
}

void ResetDefinitionLengthForTesting() {
    g_nDefinitionLength.store(0);
}
