// Definitions in the test program win over the driver manager's for the platform's calls; each one
// forwards to the real function found with RTLD_NEXT.
#include "platform/PlatformTestSupport.h"

#include "platform/Unicode.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <dlfcn.h>
#include <optional>

namespace {

std::atomic<long> g_nLiveDbc{0};
std::atomic<long> g_nLiveStmt{0};
bool g_bReportNoTotal = false;
std::optional<TFakeDiagnostics> g_fakeDiagnostics;

std::atomic<long>* CounterFor(SQLSMALLINT nHandleType) {
    if (nHandleType == SQL_HANDLE_DBC)
        return &g_nLiveDbc;
    if (nHandleType == SQL_HANDLE_STMT)
        return &g_nLiveStmt;
    return nullptr;
}

template <typename TFunction> TFunction Next(const char* pszName) {
    return reinterpret_cast<TFunction>(::dlsym(RTLD_NEXT, pszName));
}

void CopyWide(const CString& str, SQLWCHAR* pBuffer, size_t nBufferChars, SQLSMALLINT* pnLength) {
    const std::u16string strWide = Utf8ToUtf16(str.Str());
    const size_t nCopied = std::min(strWide.size(), nBufferChars - 1);
    std::memcpy(pBuffer, strWide.data(), nCopied * sizeof(SQLWCHAR));
    pBuffer[nCopied] = 0;
    if (pnLength)
        *pnLength = static_cast<SQLSMALLINT>(strWide.size());
}

} // namespace

COdbcQuirks::COdbcQuirks() = default;

COdbcQuirks::~COdbcQuirks() {
    g_bReportNoTotal = false;
    g_fakeDiagnostics.reset();
}

void COdbcQuirks::ReportNoTotal() {
    g_bReportNoTotal = true;
}

void COdbcQuirks::FakeDiagnostics(TFakeDiagnostics diagnostics) {
    g_fakeDiagnostics = std::move(diagnostics);
}

long LiveOdbcHandles(short nHandleType) {
    const std::atomic<long>* pCounter = CounterFor(nHandleType);
    return pCounter ? pCounter->load() : 0;
}

extern "C" SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT nHandleType, SQLHANDLE hInput, SQLHANDLE* phOutput) {
    using TAlloc = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE, SQLHANDLE*);
    static const TAlloc pfnAlloc = Next<TAlloc>("SQLAllocHandle");
    const SQLRETURN rc = pfnAlloc(nHandleType, hInput, phOutput);
    if (SQL_SUCCEEDED(rc) && CounterFor(nHandleType))
        ++*CounterFor(nHandleType);
    return rc;
}

extern "C" SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT nHandleType, SQLHANDLE hHandle) {
    using TFree = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE);
    static const TFree pfnFree = Next<TFree>("SQLFreeHandle");
    const SQLRETURN rc = pfnFree(nHandleType, hHandle);
    if (rc == SQL_SUCCESS && CounterFor(nHandleType))
        --*CounterFor(nHandleType);
    return rc;
}

extern "C" SQLRETURN SQL_API SQLGetData(SQLHSTMT hstmt, SQLUSMALLINT nColumn, SQLSMALLINT nTargetType,
                                        SQLPOINTER pTarget, SQLLEN nBufferLength, SQLLEN* pnIndicator) {
    using TGetData = SQLRETURN(SQL_API*)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
    static const TGetData pfnGetData = Next<TGetData>("SQLGetData");
    const SQLRETURN rc = pfnGetData(hstmt, nColumn, nTargetType, pTarget, nBufferLength, pnIndicator);
    if (g_bReportNoTotal && rc == SQL_SUCCESS_WITH_INFO && pnIndicator && *pnIndicator >= nBufferLength)
        *pnIndicator = SQL_NO_TOTAL;
    return rc;
}

extern "C" SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT nHandleType, SQLHANDLE hHandle, SQLSMALLINT nRecord,
                                            SQLWCHAR* pszState, SQLINTEGER* pnNative, SQLWCHAR* pszMessage,
                                            SQLSMALLINT nBufferLength, SQLSMALLINT* pnLength) {
    if (!g_fakeDiagnostics) {
        using TGetDiagRec = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLWCHAR*, SQLINTEGER*,
                                                SQLWCHAR*, SQLSMALLINT, SQLSMALLINT*);
        static const TGetDiagRec pfnGetDiagRec = Next<TGetDiagRec>("SQLGetDiagRecW");
        return pfnGetDiagRec(nHandleType, hHandle, nRecord, pszState, pnNative, pszMessage, nBufferLength,
                             pnLength);
    }
    const std::vector<TDiagRecord>& aRecords = g_fakeDiagnostics->aRecords;
    if (nRecord < 1 || aRecords.empty())
        return SQL_NO_DATA;
    if (static_cast<size_t>(nRecord) > aRecords.size() && !g_fakeDiagnostics->bRepeatPastEnd)
        return SQL_NO_DATA;
    const TDiagRecord& rec = aRecords[std::min(static_cast<size_t>(nRecord), aRecords.size()) - 1];
    CopyWide(rec.strSqlState, pszState, 6, nullptr);
    *pnNative = static_cast<SQLINTEGER>(rec.nNativeError);
    CopyWide(rec.strMessage, pszMessage, static_cast<size_t>(nBufferLength), pnLength);
    return *pnLength >= nBufferLength ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

extern "C" SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT nHandleType, SQLHANDLE hHandle, SQLSMALLINT nRecord,
                                             SQLSMALLINT nIdentifier, SQLPOINTER pInfo,
                                             SQLSMALLINT nBufferLength, SQLSMALLINT* pnLength) {
    if (g_fakeDiagnostics && nRecord == 0 && nIdentifier == SQL_DIAG_NUMBER) {
        *static_cast<SQLINTEGER*>(pInfo) = static_cast<SQLINTEGER>(g_fakeDiagnostics->aRecords.size());
        return SQL_SUCCESS;
    }
    using TGetDiagField = SQLRETURN(SQL_API*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLSMALLINT, SQLPOINTER,
                                              SQLSMALLINT, SQLSMALLINT*);
    static const TGetDiagField pfnGetDiagField = Next<TGetDiagField>("SQLGetDiagField");
    return pfnGetDiagField(nHandleType, hHandle, nRecord, nIdentifier, pInfo, nBufferLength, pnLength);
}
