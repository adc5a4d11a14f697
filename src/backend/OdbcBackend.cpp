// The live backend: unixODBC with wide-character calls, every handle owned by one object.
#include "backend/ConnectSecrets.h"
#include "backend/DbBackend.h"
#include "platform/Exceptions.h"
#include "platform/Unicode.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <mutex>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC's SQLWCHAR must be UTF-16");

namespace {

const SQLWCHAR* AsSqlW(const std::u16string& str) {
    return reinterpret_cast<const SQLWCHAR*>(str.c_str());
}

std::string FromSqlW(const SQLWCHAR* pch, size_t nLength) {
    std::string str;
    AppendUtf16AsUtf8(str, reinterpret_cast<const char16_t*>(pch), nLength);
    return str;
}

bool Succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// How many records to read: some drivers answer SQL_SUCCESS for any record number past the last one.
SQLSMALLINT DiagnosticCount(SQLSMALLINT nHandleType, SQLHANDLE hHandle) {
    constexpr SQLINTEGER kMaxRecords = 64;
    SQLINTEGER nCount = 0;
    if (!Succeeded(SQLGetDiagField(nHandleType, hHandle, 0, SQL_DIAG_NUMBER, &nCount, 0, nullptr)))
        return kMaxRecords;
    return static_cast<SQLSMALLINT>(std::clamp<SQLINTEGER>(nCount, 0, kMaxRecords));
}

std::vector<TDiagRecord> ReadDiagnostics(SQLSMALLINT nHandleType, SQLHANDLE hHandle) {
    std::vector<TDiagRecord> aRecords;
    const SQLSMALLINT nCount = hHandle ? DiagnosticCount(nHandleType, hHandle) : 0;
    for (SQLSMALLINT nRecord = 1; nRecord <= nCount; ++nRecord) {
        SQLWCHAR szState[6] = {};
        SQLINTEGER nNative = 0;
        std::vector<SQLWCHAR> aMessage(1024);
        SQLSMALLINT nLength = 0;
        SQLRETURN rc = SQLGetDiagRecW(nHandleType, hHandle, nRecord, szState, &nNative, aMessage.data(),
                                      static_cast<SQLSMALLINT>(aMessage.size()), &nLength);
        if (rc == SQL_SUCCESS_WITH_INFO && nLength >= static_cast<SQLSMALLINT>(aMessage.size())) {
            // The buffer length is a SQLSMALLINT too: a message of 32767 characters is kept one short.
            aMessage.resize(std::min<size_t>(static_cast<size_t>(nLength) + 1, 32767));
            rc = SQLGetDiagRecW(nHandleType, hHandle, nRecord, szState, &nNative, aMessage.data(),
                                static_cast<SQLSMALLINT>(aMessage.size()), &nLength);
        }
        if (!Succeeded(rc))
            break;
        const size_t nChars =
            std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(nLength, 0)), aMessage.size() - 1);
        aRecords.push_back(
            {FromSqlW(szState, 5).c_str(), static_cast<long>(nNative), FromSqlW(aMessage.data(), nChars)});
    }
    return aRecords;
}

bool IsConnectionDead(SQLHDBC hdbc) {
    SQLUINTEGER nDead = SQL_CD_FALSE;
    return hdbc != SQL_NULL_HDBC &&
           Succeeded(SQLGetConnectAttr(hdbc, SQL_ATTR_CONNECTION_DEAD, &nDead, SQL_IS_UINTEGER, nullptr)) &&
           nDead == SQL_CD_TRUE;
}

// ODBC's state for a lost connection is 08S01. FreeTDS reports a socket that failed or closed under 01000
// with its own numbers (20004 read failed, 20006 write failed, 20017 unexpected EOF), and a statement sent
// on a connection it found dead before as HY000 "Unknown error"; it does say that the connection is dead.
void MarkLostConnection(std::vector<TDiagRecord>& aRecords, SQLHDBC hdbc) {
    const bool bDead = IsConnectionDead(hdbc);
    for (TDiagRecord& rec : aRecords)
        if (bDead || (rec.strSqlState == "01000" &&
                      (rec.nNativeError == 20004 || rec.nNativeError == 20006 || rec.nNativeError == 20017)))
            rec.strSqlState = "08S01";
}

// A login or statement that waited for the server longer than it may says how long that was: the driver's
// words ("Timeout expired") name no time.
void NameTimeout(std::vector<TDiagRecord>& aRecords, SQLSMALLINT nHandleType, SQLHANDLE hHandle) {
    const bool bLogin = nHandleType == SQL_HANDLE_DBC;
    SQLULEN nSeconds = 0;
    const SQLRETURN rc = bLogin ? SQLGetConnectAttr(hHandle, SQL_ATTR_LOGIN_TIMEOUT, &nSeconds, 0, nullptr)
                                : SQLGetStmtAttr(hHandle, SQL_ATTR_QUERY_TIMEOUT, &nSeconds, 0, nullptr);
    if ((!bLogin && nHandleType != SQL_HANDLE_STMT) || !Succeeded(rc) || nSeconds == 0)
        return;
    const CString strLimit = CString(std::to_string(nSeconds)) +
                             (bLogin ? " seconds a login may take)" : " seconds a statement may wait)");
    for (TDiagRecord& rec : aRecords)
        if (rec.strSqlState == "HYT00")
            rec.strMessage += " (no answer from the server within the " + strLimit;
}

// hdbc: the statement's connection, asked whether it is dead, when the caller has it.
[[noreturn]] void ThrowOdbcError(SQLRETURN rc, SQLSMALLINT nHandleType, SQLHANDLE hHandle,
                                 const char* pszCall, SQLHDBC hdbc = SQL_NULL_HDBC) {
    std::vector<TDiagRecord> aRecords = ReadDiagnostics(nHandleType, hHandle);
    NameTimeout(aRecords, nHandleType, hHandle);
    MarkLostConnection(aRecords, hdbc);
    if (aRecords.empty())
        aRecords.push_back({"HY000", 0, CString(pszCall) + " failed without diagnostics"});
    throw new CDBException(std::move(aRecords), static_cast<short>(rc));
}

// The limits a program set for the connections it opens (SetDbTimeouts).
std::mutex g_timeoutsMutex;
TDbTimeouts g_timeouts;

TDbTimeouts Timeouts() {
    std::lock_guard lock(g_timeoutsMutex);
    return g_timeouts;
}

// The one ODBC environment of the process.
SQLHENV Environment() {
    static const SQLHENV hEnv = [] {
        SQLHENV h = SQL_NULL_HENV;
        if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
            return SQLHENV(SQL_NULL_HENV);
        SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return h;
    }();
    if (hEnv == SQL_NULL_HENV)
        AfxThrowDBException("HY001", 0, "Cannot allocate the ODBC environment");
    return hEnv;
}

class CStatementHandle {
public:
    explicit CStatementHandle(SQLHDBC hdbc) {
        const SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, hdbc, &m_h);
        if (!Succeeded(rc))
            ThrowOdbcError(rc, SQL_HANDLE_DBC, hdbc, "SQLAllocHandle");
    }
    CStatementHandle(const CStatementHandle&) = delete;
    CStatementHandle& operator=(const CStatementHandle&) = delete;
    ~CStatementHandle() { SQLFreeHandle(SQL_HANDLE_STMT, m_h); }
    SQLHSTMT Get() const { return m_h; }

private:
    SQLHSTMT m_h = SQL_NULL_HSTMT;
};

// What reading the columns of a row needs beside the row, kept from row to row.
struct TFetchBuffers {
    // An even number of characters before the terminator: a driver converts binary data to hex digits a
    // whole byte at a time, and would leave the last character of an odd-sized chunk unwritten.
    std::vector<SQLWCHAR> aChunk = std::vector<SQLWCHAR>(4097);
    std::u16string strWide; // a value that takes several chunks
};

void SetUtf8(std::optional<std::string>& value, const char16_t* pch, size_t nLength) {
    if (!value)
        value.emplace();
    value->clear();
    AppendUtf16AsUtf8(*value, pch, nLength);
}

// Reads one column of the current row in chunks; never trusts the reported column size. The value's text
// takes the place of the one before, so a row read again and again needs no new memory.
void ReadText(SQLHSTMT hstmt, SQLUSMALLINT nColumn, TFetchBuffers& buffers,
              std::optional<std::string>& value) {
    std::vector<SQLWCHAR>& aBuffer = buffers.aChunk;
    std::u16string& str = buffers.strWide;
    str.clear();
    const SQLLEN nBufferBytes = static_cast<SQLLEN>(aBuffer.size() * sizeof(SQLWCHAR));
    for (;;) {
        SQLLEN nIndicator = 0;
        const SQLRETURN rc =
            SQLGetData(hstmt, nColumn, SQL_C_WCHAR, aBuffer.data(), nBufferBytes, &nIndicator);
        if (rc == SQL_NO_DATA)
            break;
        if (!Succeeded(rc))
            ThrowOdbcError(rc, SQL_HANDLE_STMT, hstmt, "SQLGetData");
        if (nIndicator == SQL_NULL_DATA) {
            value.reset();
            return;
        }
        const bool bPartial =
            rc == SQL_SUCCESS_WITH_INFO &&
            (nIndicator == SQL_NO_TOTAL || nIndicator > nBufferBytes - static_cast<SQLLEN>(sizeof(SQLWCHAR)));
        const size_t nChars =
            bPartial ? aBuffer.size() - 1 : static_cast<size_t>(nIndicator) / sizeof(SQLWCHAR);
        const char16_t* pch = reinterpret_cast<const char16_t*>(aBuffer.data());
        if (!bPartial && str.empty())
            return SetUtf8(value, pch, nChars);
        str.append(pch, nChars);
        if (!bPartial)
            break;
    }
    SetUtf8(value, str.data(), str.size());
}

std::vector<TDbColumn> DescribeColumns(SQLHSTMT hstmt) {
    SQLSMALLINT nColumns = 0;
    SQLRETURN rc = SQLNumResultCols(hstmt, &nColumns);
    if (!Succeeded(rc))
        ThrowOdbcError(rc, SQL_HANDLE_STMT, hstmt, "SQLNumResultCols");
    std::vector<TDbColumn> aColumns(static_cast<size_t>(nColumns));
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(nColumns); ++i) {
        TDbColumn& column = aColumns[i - 1];
        SQLWCHAR szName[512] = {};
        SQLSMALLINT nNameLength = 0, nType = 0, nDigits = 0, nNullable = 0;
        SQLULEN nSize = 0;
        rc = SQLDescribeColW(hstmt, i, szName, 512, &nNameLength, &nType, &nSize, &nDigits, &nNullable);
        if (!Succeeded(rc))
            ThrowOdbcError(rc, SQL_HANDLE_STMT, hstmt, "SQLDescribeCol");
        column.strName = FromSqlW(
            szName, std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(nNameLength, 0)), 511));
        column.nSqlType = nType;
        column.nPrecision = nSize;
        column.nScale = nDigits;
        column.nNullability = nNullable;
        SQLWCHAR szType[128] = {};
        SQLSMALLINT nTypeBytes = 0;
        if (Succeeded(
                SQLColAttributeW(hstmt, i, SQL_DESC_TYPE_NAME, szType, sizeof szType, &nTypeBytes, nullptr)))
            column.strTypeName =
                FromSqlW(szType, std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(nTypeBytes, 0)) /
                                                      sizeof(SQLWCHAR),
                                                  127));
    }
    return aColumns;
}

bool FetchRow(SQLHSTMT hstmt, size_t nColumns, TFetchBuffers& buffers, TDbRowText& row) {
    const SQLRETURN rc = SQLFetch(hstmt);
    if (rc == SQL_NO_DATA)
        return false;
    if (!Succeeded(rc))
        ThrowOdbcError(rc, SQL_HANDLE_STMT, hstmt, "SQLFetch");
    row.resize(nColumns);
    for (size_t i = 0; i < nColumns; ++i)
        ReadText(hstmt, static_cast<SQLUSMALLINT>(i + 1), buffers, row[i]);
    return true;
}

// The rows of a statement read a block at a time into buffers bound to its columns, which takes the driver
// far fewer calls than a value at a time. Only where every column's values have a bound: text of a declared
// length, and numbers, dates, GUIDs and binary data, which come as ASCII text; whole numbers and floating
// point ones come as binary values and are written as text here, faster than drivers do (the shortest text
// that reads back to the same value).
class CBoundBlocks {
public:
    // Null when a column has no bound (a max type, a type not known here) or the driver binds no blocks.
    static std::unique_ptr<CBoundBlocks> For(SQLHSTMT hstmt, const std::vector<TDbColumn>& aColumns) {
        auto pBlocks = std::make_unique<CBoundBlocks>(hstmt);
        size_t nRowBytes = 0;
        for (const TDbColumn& column : aColumns) {
            TColumn& bound = pBlocks->m_aColumns.emplace_back();
            bound.nWidth = BoundWidth(column, bound.nCType);
            if (bound.nWidth == 0)
                return nullptr;
            nRowBytes += static_cast<size_t>(bound.nWidth);
        }
        const size_t nRows =
            std::clamp<size_t>(kBlockBytes / std::max<size_t>(nRowBytes, 1), 1, kMaxBlockRows);
        return pBlocks->Bind(nRows) ? std::move(pBlocks) : nullptr;
    }

    explicit CBoundBlocks(SQLHSTMT hstmt) : m_hstmt(hstmt) {}
    CBoundBlocks(const CBoundBlocks&) = delete;
    CBoundBlocks& operator=(const CBoundBlocks&) = delete;

    // The next row's values, valid until the next call; false after the last.
    bool Next(std::vector<TDbValue>& aValues) {
        if (m_nRow >= m_nFetched && !FetchBlock())
            return false;
        const size_t nRow = m_nRow++;
        aValues.resize(m_aColumns.size());
        for (size_t i = 0; i < m_aColumns.size(); ++i)
            aValues[i] = m_aColumns[i].Value(nRow, i);
        return true;
    }

private:
    static constexpr size_t kBlockBytes = 1 << 20;
    static constexpr size_t kMaxBlockRows = 512;

    struct TColumn {
        SQLSMALLINT nCType = SQL_C_CHAR;
        SQLLEN nWidth = 0; // bytes of a value, the terminator included
        std::vector<char> aData;
        std::vector<SQLLEN> aLengths;
        std::string strText; // a text value of the row, as UTF-8

        template <typename T> static T Read(const char* pData) {
            T value;
            std::memcpy(&value, pData, sizeof value);
            return value;
        }

        template <typename T> TDbValue Number(T value) {
            strText.resize(32);
            const auto [pEnd, ec] = std::to_chars(strText.data(), strText.data() + strText.size(), value);
            strText.resize(static_cast<size_t>(pEnd - strText.data()));
            return TDbValue(strText);
        }

        TDbValue Value(size_t nRow, size_t nColumn) {
            const SQLLEN nLength = aLengths[nRow];
            if (nLength == SQL_NULL_DATA)
                return TDbValue();
            const bool bText = nCType == SQL_C_CHAR || nCType == SQL_C_WCHAR;
            const SQLLEN nRoom = bText ? nWidth - (nCType == SQL_C_WCHAR ? 2 : 1) : nWidth;
            if (nLength < 0 || nLength > nRoom)
                AfxThrowDBException("01004", 0,
                                    "String data, right truncated: a value of column " +
                                        CString(std::to_string(nColumn + 1)) +
                                        " is longer than the size the driver reported");
            const char* pData = aData.data() + nRow * static_cast<size_t>(nWidth);
            switch (nCType) {
            case SQL_C_CHAR:
                return TDbValue(std::string_view(pData, static_cast<size_t>(nLength)));
            case SQL_C_SBIGINT:
                return Number(Read<std::int64_t>(pData));
            case SQL_C_DOUBLE:
                return Number(Read<double>(pData));
            case SQL_C_FLOAT:
                return Number(Read<float>(pData));
            default:
                break;
            }
            strText.clear();
            AppendUtf16AsUtf8(strText, reinterpret_cast<const char16_t*>(pData),
                              static_cast<size_t>(nLength) / sizeof(char16_t));
            return TDbValue(strText);
        }
    };

    // The bytes a value of the column takes in the C type it is read as, the terminator included; 0 when
    // its values have no bound.
    static SQLLEN BoundWidth(const TDbColumn& column, SQLSMALLINT& nCType) {
        constexpr SQLULEN kMaxChars = 4000, kMaxBytes = 8000;
        constexpr SQLLEN kScalar = 64; // any number, date, time or GUID as text
        const SQLULEN nSize = column.nPrecision;
        switch (column.nSqlType) {
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
            nCType = SQL_C_WCHAR;
            return nSize == 0 || nSize > kMaxChars ? 0 : static_cast<SQLLEN>((nSize + 1) * sizeof(SQLWCHAR));
        case SQL_BINARY:
        case SQL_VARBINARY:
            nCType = SQL_C_CHAR;
            return nSize == 0 || nSize > kMaxBytes ? 0 : static_cast<SQLLEN>(nSize * 2 + 1);
        case SQL_BIT:
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            nCType = SQL_C_SBIGINT;
            return sizeof(std::int64_t);
        case SQL_REAL:
            nCType = SQL_C_FLOAT;
            return sizeof(float);
        case SQL_FLOAT:
        case SQL_DOUBLE:
            nCType = SQL_C_DOUBLE;
            return sizeof(double);
        case SQL_DECIMAL:
        case SQL_NUMERIC:
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIME:
        case SQL_TYPE_TIMESTAMP:
        case SQL_GUID:
        case kSqlTime2:
        case kSqlTimestampOffset:
            nCType = SQL_C_CHAR;
            return kScalar;
        default:
            return 0;
        }
    }

    bool Bind(size_t nRows) {
        m_aStatus.resize(nRows);
        bool bBound =
            Succeeded(SQLSetStmtAttr(m_hstmt, SQL_ATTR_ROW_ARRAY_SIZE,
                                     reinterpret_cast<SQLPOINTER>(static_cast<std::uintptr_t>(nRows)), 0)) &&
            Succeeded(SQLSetStmtAttr(m_hstmt, SQL_ATTR_ROWS_FETCHED_PTR, &m_nFetched, 0)) &&
            Succeeded(SQLSetStmtAttr(m_hstmt, SQL_ATTR_ROW_STATUS_PTR, m_aStatus.data(), 0));
        for (size_t i = 0; bBound && i < m_aColumns.size(); ++i) {
            TColumn& column = m_aColumns[i];
            column.aData.resize(nRows * static_cast<size_t>(column.nWidth));
            column.aLengths.resize(nRows);
            bBound = Succeeded(SQLBindCol(m_hstmt, static_cast<SQLUSMALLINT>(i + 1), column.nCType,
                                          column.aData.data(), column.nWidth, column.aLengths.data()));
        }
        if (!bBound) {
            SQLFreeStmt(m_hstmt, SQL_UNBIND);
            SQLSetStmtAttr(m_hstmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
            SQLSetStmtAttr(m_hstmt, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
            SQLSetStmtAttr(m_hstmt, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
        }
        return bBound;
    }

    bool FetchBlock() {
        m_nRow = 0;
        m_nFetched = 0;
        const SQLRETURN rc = SQLFetch(m_hstmt);
        if (rc == SQL_NO_DATA)
            return false;
        if (!Succeeded(rc))
            ThrowOdbcError(rc, SQL_HANDLE_STMT, m_hstmt, "SQLFetch");
        return m_nFetched > 0;
    }

    // SQL Server's time and datetimeoffset, as its drivers report them.
    static constexpr SQLSMALLINT kSqlTime2 = -154, kSqlTimestampOffset = -155;

    SQLHSTMT m_hstmt;
    std::vector<TColumn> m_aColumns;
    std::vector<SQLUSMALLINT> m_aStatus;
    SQLULEN m_nFetched = 0;
    size_t m_nRow = 0;
};

class COdbcStream;

// The connection's state, shared with its streaming results so that either may outlive the other.
struct TOdbcLink {
    TOdbcLink() = default;
    TOdbcLink(const TOdbcLink&) = delete;
    TOdbcLink& operator=(const TOdbcLink&) = delete;
    ~TOdbcLink() { Disconnect(); }

    void Disconnect() {
        if (bConnected)
            SQLDisconnect(hdbc);
        bConnected = false;
        if (hdbc != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, hdbc);
        hdbc = SQL_NULL_HDBC;
    }

    // Cancel comes from any thread, while the thread running the statement holds mutex.
    void Cancel() {
        std::lock_guard lock(cancelMutex);
        if (hUnderWay != SQL_NULL_HSTMT)
            SQLCancel(hUnderWay);
    }

    std::mutex mutex; // serialises statements when several recordsets share the connection
    SQLHDBC hdbc = SQL_NULL_HDBC;
    bool bConnected = false;
    COdbcStream* pActiveStream = nullptr;
    std::mutex cancelMutex;
    SQLHSTMT hUnderWay = SQL_NULL_HSTMT; // guarded by cancelMutex
};

// Marks a statement as under way while a call on it may wait for the server, so that Cancel reaches it.
class CUnderWay {
public:
    CUnderWay(TOdbcLink& link, SQLHSTMT hstmt) : m_link(link) {
        std::lock_guard lock(m_link.cancelMutex);
        m_link.hUnderWay = hstmt;
    }
    CUnderWay(const CUnderWay&) = delete;
    CUnderWay& operator=(const CUnderWay&) = delete;
    ~CUnderWay() {
        std::lock_guard lock(m_link.cancelMutex);
        m_link.hUnderWay = SQL_NULL_HSTMT;
    }

private:
    TOdbcLink& m_link;
};

// Every connection open in the process, for CancelAllDbConnections.
std::mutex g_linksMutex;
std::vector<std::weak_ptr<TOdbcLink>> g_aLinks;

void Register(const std::shared_ptr<TOdbcLink>& pLink) {
    std::lock_guard lock(g_linksMutex);
    std::erase_if(g_aLinks, [](const std::weak_ptr<TOdbcLink>& link) { return link.expired(); });
    g_aLinks.push_back(pLink);
}

// A forward-only result that reads rows as asked. When another statement needs the connection,
// the rest of the rows is buffered and the statement released, since SQL Server drivers allow
// only one active statement per connection.
class COdbcStream : public CDbResult {
public:
    // bBlocks: read a block of rows at a time where the columns allow it (a failing row is then met a block
    // ahead, when the block is fetched).
    COdbcStream(std::shared_ptr<TOdbcLink> pLink, std::unique_ptr<CStatementHandle> pStmt,
                std::vector<TDbColumn> aColumns, std::string strSql, bool bBlocks)
        : m_pLink(std::move(pLink)), m_pStmt(std::move(pStmt)), m_aColumns(std::move(aColumns)),
          m_strSql(std::move(strSql)),
          m_pBlocks(bBlocks ? CBoundBlocks::For(m_pStmt->Get(), m_aColumns) : nullptr) {}

    ~COdbcStream() override {
        std::lock_guard lock(m_pLink->mutex);
        if (m_pLink->pActiveStream == this)
            m_pLink->pActiveStream = nullptr;
    }

    const std::vector<TDbColumn>& Columns() const override { return m_aColumns; }

    std::optional<TDbRow> Fetch() override {
        return NamingStatement(m_strSql, [this]() -> std::optional<TDbRow> {
            std::lock_guard lock(m_pLink->mutex);
            if (!m_pStmt)
                return NextBuffered();
            const bool bRow = ReadUnderWay();
            if (bRow)
                return TDbRow(m_aValues);
            Release();
            return std::nullopt;
        });
    }

    // Called with the link's lock held. A failure belongs to this stream, not to the statement that
    // needs the connection: it is kept and thrown to this stream's reader after the rows read before it.
    void BufferRest() {
        // The row handed out last stays as it is: its values leave the buffers that reading the rest reuses.
        m_row = RowText(m_aValues);
        ViewRow(m_row, m_aValues);
        try {
            const CUnderWay underWay(*m_pLink, m_pStmt->Get());
            TDbRowText row;
            std::vector<TDbValue> aValues;
            while (Read(row, aValues))
                m_aRest.push_back(RowText(aValues));
        } catch (CDBException* e) {
            m_pBufferError.reset(e);
        } catch (...) {
            Release();
            throw;
        }
        Release();
    }

private:
    static TDbRowText RowText(TDbRow row) {
        TDbRowText text;
        for (const TDbValue& value : row)
            text.push_back(value ? std::optional<std::string>(*value) : std::nullopt);
        return text;
    }

    // The next row's values; row holds their text where the blocks' buffers do not. False after the last.
    bool Read(TDbRowText& row, std::vector<TDbValue>& aValues) {
        if (m_pBlocks)
            return m_pBlocks->Next(aValues);
        if (!FetchRow(m_pStmt->Get(), m_aColumns.size(), m_buffers, row))
            return false;
        ViewRow(row, aValues);
        return true;
    }

    bool ReadUnderWay() {
        const CUnderWay underWay(*m_pLink, m_pStmt->Get());
        return Read(m_row, m_aValues);
    }

    std::optional<TDbRow> NextBuffered() {
        if (m_nNext < m_aRest.size())
            return ViewRow(m_aRest[m_nNext++], m_aValues);
        if (m_pBufferError)
            throw m_pBufferError.release();
        return std::nullopt;
    }

    void Release() {
        m_pBlocks.reset();
        m_pStmt.reset();
        if (m_pLink->pActiveStream == this)
            m_pLink->pActiveStream = nullptr;
    }

    std::shared_ptr<TOdbcLink> m_pLink;
    std::unique_ptr<CStatementHandle> m_pStmt;
    std::vector<TDbColumn> m_aColumns;
    std::string m_strSql;
    TFetchBuffers m_buffers;
    TDbRowText m_row;
    std::vector<TDbValue> m_aValues; // of the row fetched last
    std::vector<TDbRowText> m_aRest;
    size_t m_nNext = 0;
    CExceptionPtr<CDBException> m_pBufferError;
    std::unique_ptr<CBoundBlocks> m_pBlocks; // null when the rows are read a value at a time
};

class COdbcConnection : public CDbConnection {
public:
    explicit COdbcConnection(const std::string& strConnect) : m_pLink(std::make_shared<TOdbcLink>()) {
        SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_DBC, Environment(), &m_pLink->hdbc);
        if (!Succeeded(rc))
            ThrowOdbcError(rc, SQL_HANDLE_ENV, Environment(), "SQLAllocHandle");
        const TDbTimeouts timeouts = Timeouts();
        if (timeouts.dwLoginSeconds > 0)
            SQLSetConnectAttr(m_pLink->hdbc, SQL_ATTR_LOGIN_TIMEOUT,
                              reinterpret_cast<SQLPOINTER>(std::uintptr_t{timeouts.dwLoginSeconds}), 0);
        m_statementTimeout = timeouts.statementSeconds;
        const std::u16string strConnectW = Utf8ToUtf16(strConnect);
        SQLSMALLINT nOutLength = 0;
        std::vector<SQLWCHAR> aOut(2048);
        rc = SQLDriverConnectW(m_pLink->hdbc, nullptr, const_cast<SQLWCHAR*>(AsSqlW(strConnectW)), SQL_NTS,
                               aOut.data(), static_cast<SQLSMALLINT>(aOut.size()), &nOutLength,
                               SQL_DRIVER_NOPROMPT);
        if (!Succeeded(rc))
            ThrowConnectError(rc, strConnect);
        m_pLink->bConnected = true;
        if (IsFreeTds())
            RunWithoutResult("SET TEXTSIZE 2147483647");
        Register(m_pLink);
    }

    ~COdbcConnection() override {
        std::lock_guard lock(m_pLink->mutex);
        if (m_pLink->pActiveStream)
            m_pLink->pActiveStream->BufferRest();
        m_pLink->Disconnect();
    }

    void SetQueryTimeout(DWORD dwSeconds) override { m_dwTimeout = dwSeconds; }

    void Cancel() override { m_pLink->Cancel(); }

    // The driver keeps the name the server gave at the login, and after any USE.
    std::string GetDatabaseName() const override {
        std::lock_guard lock(m_pLink->mutex);
        SQLWCHAR szName[256] = {};
        SQLINTEGER nBytes = 0;
        if (!Succeeded(
                SQLGetConnectAttrW(m_pLink->hdbc, SQL_ATTR_CURRENT_CATALOG, szName, sizeof szName, &nBytes)))
            return {};
        return FromSqlW(
            szName,
            std::min<size_t>(static_cast<size_t>(std::max<SQLINTEGER>(nBytes, 0)) / sizeof(SQLWCHAR), 255));
    }

    std::unique_ptr<CDbResult> Execute(const std::string& strSql, bool bBuffered) override {
        return NamingStatement(strSql, [&] { return Run(strSql, bBuffered ? eWhole : eRowByRow); });
    }

    std::unique_ptr<CDbResult> ExecuteStream(const std::string& strSql) override {
        return NamingStatement(strSql, [&] { return Run(strSql, eBlocks); });
    }

    // One text, the statements a line each: the server compiles each as it would alone. An error names the
    // whole text, since which of its statements failed is not known.
    std::vector<std::unique_ptr<CDbResult>> ExecuteBatch(const std::vector<std::string>& aSql) override {
        std::string strBatch;
        for (const std::string& strSql : aSql)
            strBatch += strSql + "\n";
        return NamingStatement(strBatch, [&] { return RunBatch(strBatch, aSql.size()); });
    }

    void ExecuteScript(const std::string& strBatch, IBatchListener& listener) override {
        NamingStatement(strBatch, [&] { RunScript(strBatch, listener); });
    }

private:
    enum EReading { eWhole, eRowByRow, eBlocks };

    std::unique_ptr<CDbResult> Run(const std::string& strSql, EReading eReading) {
        std::lock_guard lock(m_pLink->mutex);
        if (m_pLink->pActiveStream)
            m_pLink->pActiveStream->BufferRest();
        auto pStmt = ExecDirect(strSql);
        std::vector<TDbColumn> aColumns = DescribeColumns(pStmt->Get());
        // A statement without a result set has nothing to fetch: SQLFetch would fail with 24000.
        if (aColumns.empty())
            return std::make_unique<CRowsResult>(std::move(aColumns), std::vector<TDbRowText>());
        if (eReading != eWhole) {
            auto pStream = std::make_unique<COdbcStream>(m_pLink, std::move(pStmt), std::move(aColumns),
                                                         strSql, eReading == eBlocks);
            m_pLink->pActiveStream = pStream.get();
            return pStream;
        }
        const CUnderWay underWay(*m_pLink, pStmt->Get());
        return ReadWhole(pStmt->Get(), std::move(aColumns));
    }

    std::vector<std::unique_ptr<CDbResult>> RunBatch(const std::string& strBatch, size_t nStatements) {
        std::lock_guard lock(m_pLink->mutex);
        if (m_pLink->pActiveStream)
            m_pLink->pActiveStream->BufferRest();
        auto pStmt = ExecDirect(strBatch);
        const CUnderWay underWay(*m_pLink, pStmt->Get());
        std::vector<std::unique_ptr<CDbResult>> aResults;
        for (SQLRETURN rc = SQL_SUCCESS; rc != SQL_NO_DATA; rc = SQLMoreResults(pStmt->Get())) {
            if (!Succeeded(rc))
                ThrowOdbcError(rc, SQL_HANDLE_STMT, pStmt->Get(), "SQLMoreResults", m_pLink->hdbc);
            std::vector<TDbColumn> aColumns = DescribeColumns(pStmt->Get());
            if (!aColumns.empty())
                aResults.push_back(ReadWhole(pStmt->Get(), std::move(aColumns)));
        }
        if (aResults.size() != nStatements)
            AfxThrowDBException("HY000", 0,
                                "The batch of " + CString(std::to_string(nStatements)) +
                                    " statements returned " + CString(std::to_string(aResults.size())) +
                                    " results");
        return aResults;
    }

    // Every result of the batch, errors among them: SQL Server goes on after most errors in a batch, and the
    // statement is free for the next batch only once all of them are read.
    void RunScript(const std::string& strBatch, IBatchListener& listener) {
        std::lock_guard lock(m_pLink->mutex);
        if (m_pLink->pActiveStream)
            m_pLink->pActiveStream->BufferRest();
        const std::unique_ptr<CStatementHandle> pStmt = NewStatement();
        const SQLHSTMT hstmt = pStmt->Get();
        const CUnderWay underWay(*m_pLink, hstmt);
        const SQLRETURN rc = Send(hstmt, strBatch);
        // SQL_NO_DATA from the first statement (an UPDATE that found no row) may still have results after it.
        std::vector<TDiagRecord> aErrors;
        bool bReadable = rc == SQL_NO_DATA || ReadScriptResult(rc, hstmt, listener, aErrors);
        for (SQLRETURN rcMore; bReadable && (rcMore = SQLMoreResults(hstmt)) != SQL_NO_DATA;)
            bReadable = ReadScriptResult(rcMore, hstmt, listener, aErrors);
        if (!aErrors.empty())
            throw new CDBException(std::move(aErrors), SQL_ERROR);
    }

    // One result of a script's batch: its messages, and its rows or row count. False when nothing more can
    // be read: the connection is gone.
    bool ReadScriptResult(SQLRETURN rc, SQLHSTMT hstmt, IBatchListener& listener,
                          std::vector<TDiagRecord>& aErrors) {
        std::vector<TDiagRecord> aRecords =
            rc == SQL_SUCCESS ? std::vector<TDiagRecord>() : ReadDiagnostics(SQL_HANDLE_STMT, hstmt);
        if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE) {
            MarkLostConnection(aRecords, m_pLink->hdbc);
            if (aRecords.empty())
                aRecords.push_back({"HY000", 0, "The batch failed without diagnostics"});
            aErrors.insert(aErrors.end(), aRecords.begin(), aRecords.end());
            return rc != SQL_INVALID_HANDLE && !IsConnectionDead(m_pLink->hdbc) &&
                   aRecords.front().strSqlState != "08S01";
        }
        for (const TDiagRecord& rec : aRecords)
            listener.OnMessage(rec);
        SQLSMALLINT nColumns = 0;
        if (Succeeded(SQLNumResultCols(hstmt, &nColumns)) && nColumns > 0) {
            for (SQLRETURN rcFetch; (rcFetch = SQLFetch(hstmt)) != SQL_NO_DATA;)
                if (!Succeeded(rcFetch))
                    ThrowOdbcError(rcFetch, SQL_HANDLE_STMT, hstmt, "SQLFetch", m_pLink->hdbc);
            return true;
        }
        SQLLEN nRows = -1;
        if (Succeeded(SQLRowCount(hstmt, &nRows)) && nRows >= 0)
            listener.OnRowCount(static_cast<long>(nRows));
        return true;
    }

    // Some drivers quote the connect string in their connection errors; its passwords are hidden.
    [[noreturn]] void ThrowConnectError(SQLRETURN rc, const std::string& strConnect) {
        std::vector<TDiagRecord> aRecords = ReadDiagnostics(SQL_HANDLE_DBC, m_pLink->hdbc);
        NameTimeout(aRecords, SQL_HANDLE_DBC, m_pLink->hdbc);
        if (aRecords.empty())
            aRecords.push_back({"HY000", 0, "SQLDriverConnect failed without diagnostics"});
        for (TDiagRecord& rec : aRecords)
            rec.strMessage = HideConnectSecrets(rec.strMessage.Str(), strConnect);
        throw new CDBException(std::move(aRecords), static_cast<short>(rc));
    }

    std::unique_ptr<CStatementHandle> ExecDirect(const std::string& strSql) {
        auto pStmt = NewStatement();
        const CUnderWay underWay(*m_pLink, pStmt->Get());
        const SQLRETURN rc = Send(pStmt->Get(), strSql);
        if (!Succeeded(rc) && rc != SQL_NO_DATA)
            ThrowOdbcError(rc, SQL_HANDLE_STMT, pStmt->Get(), "SQLExecDirect", m_pLink->hdbc);
        return pStmt;
    }

    // Drivers that cannot time out statements say so with a warning or HYC00; the statement still runs.
    std::unique_ptr<CStatementHandle> NewStatement() const {
        auto pStmt = std::make_unique<CStatementHandle>(m_pLink->hdbc);
        SQLSetStmtAttr(pStmt->Get(), SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(std::uintptr_t{m_statementTimeout.value_or(m_dwTimeout)}),
                       SQL_IS_UINTEGER);
        return pStmt;
    }

    static SQLRETURN Send(SQLHSTMT hstmt, const std::string& strSql) {
        const std::u16string strSqlW = Utf8ToUtf16(strSql);
        return SQLExecDirectW(hstmt, const_cast<SQLWCHAR*>(AsSqlW(strSqlW)),
                              static_cast<SQLINTEGER>(strSqlW.size()));
    }

    static std::unique_ptr<CDbResult> ReadWhole(SQLHSTMT hstmt, std::vector<TDbColumn> aColumns) {
        std::vector<TDbRowText> aRows;
        TFetchBuffers buffers;
        for (TDbRowText row; FetchRow(hstmt, aColumns.size(), buffers, row);)
            aRows.push_back(std::move(row));
        return std::make_unique<CRowsResult>(std::move(aColumns), std::move(aRows));
    }

    void RunWithoutResult(const char* pszSql) { ExecDirect(pszSql); }

    bool IsFreeTds() const {
        SQLCHAR szDriver[256] = {};
        SQLSMALLINT nLength = 0;
        if (!Succeeded(SQLGetInfo(m_pLink->hdbc, SQL_DRIVER_NAME, szDriver, sizeof szDriver, &nLength)))
            return false;
        std::string strDriver(reinterpret_cast<const char*>(szDriver));
        std::transform(strDriver.begin(), strDriver.end(), strDriver.begin(), ::tolower);
        return strDriver.find("tds") != std::string::npos;
    }

    std::shared_ptr<TOdbcLink> m_pLink;
    DWORD m_dwTimeout = 0;
    std::optional<DWORD> m_statementTimeout; // the program's, over m_dwTimeout
};

} // namespace

void CancelAllDbConnections() {
    std::vector<std::shared_ptr<TOdbcLink>> aLinks;
    {
        std::lock_guard lock(g_linksMutex);
        for (const std::weak_ptr<TOdbcLink>& link : g_aLinks)
            if (auto pLink = link.lock())
                aLinks.push_back(std::move(pLink));
    }
    for (const std::shared_ptr<TOdbcLink>& pLink : aLinks)
        pLink->Cancel();
}

void SetDbTimeouts(const TDbTimeouts& timeouts) {
    std::lock_guard lock(g_timeoutsMutex);
    g_timeouts = timeouts;
}

std::unique_ptr<CDbConnection> OpenOdbcConnection(const std::string& strConnect) {
    return std::make_unique<COdbcConnection>(strConnect);
}
