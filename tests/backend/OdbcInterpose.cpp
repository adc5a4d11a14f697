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

namespace {

std::atomic<long> g_anLive[SQL_HANDLE_DESC + 1]; // by handle type

// The driver manager's own definition of the function this one stands for.
template <typename TFunction> TFunction* Next(const char* pszName) {
    return reinterpret_cast<TFunction*>(::dlsym(RTLD_NEXT, pszName));
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

long LiveOdbcHandles(short nHandleType) {
    return g_anLive[nHandleType].load();
}

extern "C" SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT nHandleType, SQLHANDLE hInput, SQLHANDLE* phOutput) {
    static const auto pfnNext = Next<decltype(SQLAllocHandle)>("SQLAllocHandle");
    const SQLRETURN rc = pfnNext(nHandleType, hInput, phOutput);
    if (SQL_SUCCEEDED(rc))
        ++g_anLive[nHandleType];
    return rc;
}

extern "C" SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT nHandleType, SQLHANDLE hHandle) {
    static const auto pfnNext = Next<decltype(SQLFreeHandle)>("SQLFreeHandle");
    const SQLRETURN rc = pfnNext(nHandleType, hHandle);
    if (rc == SQL_SUCCESS)
        --g_anLive[nHandleType];
    return rc;
}

extern "C" SQLRETURN SQL_API SQLGetData(SQLHSTMT hstmt, SQLUSMALLINT nColumn, SQLSMALLINT nTargetType,
                                        SQLPOINTER pTarget, SQLLEN nBufferLength, SQLLEN* pnIndicator) {
    static const auto pfnNext = Next<decltype(SQLGetData)>("SQLGetData");
    const SQLRETURN rc = pfnNext(hstmt, nColumn, nTargetType, pTarget, nBufferLength, pnIndicator);
    if (g_odbcQuirks.bReportNoTotal && rc == SQL_SUCCESS_WITH_INFO && pnIndicator &&
        *pnIndicator >= nBufferLength)
        *pnIndicator = SQL_NO_TOTAL;
    return rc;
}

extern "C" SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT nHandleType, SQLHANDLE hHandle, SQLSMALLINT nRecord,
                                            SQLWCHAR* pszState, SQLINTEGER* pnNative, SQLWCHAR* pszMessage,
                                            SQLSMALLINT nBufferLength, SQLSMALLINT* pnLength) {
    static const auto pfnNext = Next<decltype(SQLGetDiagRecW)>("SQLGetDiagRecW");
    const std::vector<TDiagRecord>& aRecords = g_odbcQuirks.aFakeDiagnostics;
    if (aRecords.empty())
        return pfnNext(nHandleType, hHandle, nRecord, pszState, pnNative, pszMessage, nBufferLength,
                       pnLength);
    const size_t nAt = static_cast<size_t>(nRecord);
    if (nRecord < 1 || (nAt > aRecords.size() && !g_odbcQuirks.bRepeatPastEnd))
        return SQL_NO_DATA;
    const TDiagRecord& rec = aRecords[std::min(nAt, aRecords.size()) - 1];
    CopyWide(rec.strSqlState, pszState, 6, nullptr);
    *pnNative = static_cast<SQLINTEGER>(rec.nNativeError);
    CopyWide(rec.strMessage, pszMessage, static_cast<size_t>(nBufferLength), pnLength);
    return *pnLength >= nBufferLength ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

extern "C" SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC hdbc, SQLINTEGER nAttribute, SQLPOINTER pValue,
                                               SQLINTEGER nBufferLength, SQLINTEGER* pnLength) {
    static const auto pfnNext = Next<decltype(SQLGetConnectAttr)>("SQLGetConnectAttr");
    if (!g_odbcQuirks.bConnectionDead || nAttribute != SQL_ATTR_CONNECTION_DEAD)
        return pfnNext(hdbc, nAttribute, pValue, nBufferLength, pnLength);
    *static_cast<SQLUINTEGER*>(pValue) = SQL_CD_TRUE;
    return SQL_SUCCESS;
}

extern "C" SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT nHandleType, SQLHANDLE hHandle, SQLSMALLINT nRecord,
                                             SQLSMALLINT nIdentifier, SQLPOINTER pInfo,
                                             SQLSMALLINT nBufferLength, SQLSMALLINT* pnLength) {
    static const auto pfnNext = Next<decltype(SQLGetDiagField)>("SQLGetDiagField");
    if (g_odbcQuirks.aFakeDiagnostics.empty() || nRecord != 0 || nIdentifier != SQL_DIAG_NUMBER)
        return pfnNext(nHandleType, hHandle, nRecord, nIdentifier, pInfo, nBufferLength, pnLength);
    *static_cast<SQLINTEGER*>(pInfo) = static_cast<SQLINTEGER>(g_odbcQuirks.aFakeDiagnostics.size());
    return SQL_SUCCESS;
}
