// The process-wide connection context, the connection pool and the definition length.
#pragma once

#include "backend/Database.h"
#include "platform/Sync.h"

class CPrefetchStore;

// Sets the context database, its connect string (every "ODBC;" removed), the pool flag and the prefetch
// flag; rows prefetched for an earlier context are dropped.
void SetConnectionContext(CDatabase* pDatabase, bool bPooled, bool bPrefetch = false);

CDatabase* GetContextDatabase();
const CString& GetContextConnectString();
bool IsPoolEnabled();

// With the prefetch flag set, starts reading the catalog's detail families; recordsets then take their rows
// from them where they can. Throws CDBException* when a snapshot replay lacks the prefetch statements. Call
// before any recordset of the run exists.
void PrefetchCatalog();
// The rows of PrefetchCatalog; null when there are none.
CPrefetchStore* GetPrefetchStore();
// Stops the reading and frees the prefetched rows; only when no recordset is alive.
void DropPrefetchedRows();
// Calls DropPrefetchedRows when the scope ends, also when an exception leaves it.
class CDropPrefetchedRowsOnExit {
public:
    CDropPrefetchedRowsOnExit() = default;
    CDropPrefetchedRowsOnExit(const CDropPrefetchedRowsOnExit&) = delete;
    CDropPrefetchedRowsOnExit& operator=(const CDropPrefetchedRowsOnExit&) = delete;
    ~CDropPrefetchedRowsOnExit() { DropPrefetchedRows(); }
};

struct TPoolEntry {
    bool bInUse = false;
    CDatabase* pConnection = nullptr;
};

// A free pooled connection marked in use, or the context database when none can be opened.
CDatabase* AcquireConnection();
// Marks the pool entry of that connection free; other connections are ignored.
void ReleaseConnection(CDatabase* pDatabase);
// Opens a connection from the context's connect string and appends it, free; null on failure.
// Called with the pool lock held.
TPoolEntry* CreatePooledConnection();
// Closes and deletes every pooled connection; only when no recordset is alive.
void CloseAllConnections();
// Calls CloseAllConnections when the scope ends, also when an exception leaves it.
class CCloseConnectionsOnExit {
public:
    CCloseConnectionsOnExit() = default;
    CCloseConnectionsOnExit(const CCloseConnectionsOnExit&) = delete;
    CCloseConnectionsOnExit& operator=(const CCloseConnectionsOnExit&) = delete;
    ~CCloseConnectionsOnExit() { CloseAllConnections(); }
};

// Number of connections the pool holds (for tests and diagnostics).
int GetPooledConnectionCount();

// Query timeout of pooled connections, in seconds.
constexpr DWORD POOLED_QUERY_TIMEOUT = 300;

// The statement that asks for MAX(DATALENGTH(definition)) of the table.
CString GetDefinitionLengthSQL(const char* pszTable);
// MAX(DATALENGTH(definition)) of the table on that connection; 0 on a database error or NULL.
int ProbeDefinitionLength(CDatabase* pDatabase, const char* pszTable);
// Probes once per process; a probe giving 0 stores 256.
void EnsureDefinitionLength(CDatabase* pDatabase, const char* pszTable);
int GetDefinitionLength();
// Forgets the probed value, so that a test can observe a first probe again.
void ResetDefinitionLengthForTesting();
