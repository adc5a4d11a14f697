#include "backend/Database.h"

#include "backend/ConnectString.h"
#include "backend/DbBackend.h"

#include <cstdlib>
#include <strings.h>

namespace {

bool StartsWithNoCase(std::string_view str, std::string_view prefix) {
    return str.size() >= prefix.size() && strncasecmp(str.data(), prefix.data(), prefix.size()) == 0;
}

std::string_view StripOdbcPrefix(std::string_view str) {
    while (StartsWithNoCase(str, "ODBC;"))
        str.remove_prefix(5);
    return str;
}

} // namespace

std::unique_ptr<CDbConnection> OpenDbConnection(const std::string& strConnect) {
    const std::string_view str = StripOdbcPrefix(strConnect);
    const std::vector<TConnectPair> aPairs = ParseConnectString(str);
    if (aPairs.empty())
        return OpenOdbcConnection(std::string(str));
    // The snapshot's path is the first pair; what follows is the snapshot's options, or what is recorded.
    const std::string strPath(aPairs.front().strValue);
    const std::string strRest(str.substr(aPairs.front().nNext));
    if (SameConnectKey(aPairs.front().strKey, "SNAPSHOT"))
        return OpenSnapshotReplay(strPath, strRest);
    if (SameConnectKey(aPairs.front().strKey, "SAVE_SNAPSHOT"))
        return OpenSnapshotRecorder(strPath, strRest);
    return OpenOdbcConnection(std::string(str));
}

CDatabase::CDatabase() = default;

CDatabase::~CDatabase() {
    Close();
}

BOOL CDatabase::OpenEx(LPCTSTR lpszConnectString, DWORD) {
    Close();
    const std::string strConnect(StripOdbcPrefix(lpszConnectString ? lpszConnectString : ""));
    m_pConnection = OpenDbConnection(strConnect);
    m_pConnection->SetQueryTimeout(m_dwQueryTimeout);
    m_strConnect = strConnect;
    m_hdbc = m_pConnection.get();
    return TRUE;
}

void CDatabase::Close() {
    m_pConnection.reset();
    m_hdbc = nullptr;
}

void CDatabase::SetQueryTimeout(DWORD dwSeconds) {
    m_dwQueryTimeout = dwSeconds;
    if (m_pConnection)
        m_pConnection->SetQueryTimeout(dwSeconds);
}

CFieldExchange::CFieldExchange(CRecordset* pRecordset, const TDbValue* pValues, size_t nValues)
    : m_pRecordset(pRecordset), m_pValues(pValues), m_nValues(nValues) {}

const TDbValue& CFieldExchange::NextValue() {
    if (m_nField >= m_nValues) {
        CString strMessage;
        strMessage.Format("Invalid descriptor index: column %zu is bound, the result of \"%s\" has %zu",
                          m_nField + 1, m_pRecordset->GetSQL(), m_nValues);
        AfxThrowDBException("07009", 0, strMessage);
    }
    return m_pValues[m_nField++];
}

void RFX_Text(CFieldExchange* pFX, LPCTSTR, CString& value, int nMaxLength, int, short) {
    const TDbValue& field = pFX->NextValue();
    if (!field) {
        value.Empty();
        return;
    }
    const std::string_view str = *field;
    const size_t nBytes =
        nMaxLength > 0 ? Utf8PrefixBytes(str.data(), str.size(), static_cast<size_t>(nMaxLength)) : 0;
    value.Str().assign(str.data(), nBytes);
}

void RFX_Long(CFieldExchange* pFX, LPCTSTR szName, int& value) {
    long nValue = 0;
    RFX_Long(pFX, szName, nValue);
    value = static_cast<int>(nValue);
}

void RFX_Long(CFieldExchange* pFX, LPCTSTR, long& value) {
    const TDbValue& field = pFX->NextValue();
    // Whole numbers may come as text or sql_variant; the value wraps to 32 bits like SQL_C_LONG.
    value = field ? static_cast<std::int32_t>(std::strtoll(std::string(*field).c_str(), nullptr, 10)) : 0;
}

CRecordset::CRecordset(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

CRecordset::~CRecordset() = default;

BOOL CRecordset::Open(UINT nOpenType, LPCTSTR lpszSQL, DWORD) {
    Close();
    if (nOpenType == AFX_DB_USE_DEFAULT_TYPE)
        nOpenType = m_nDefaultType;
    m_strSQL = lpszSQL ? CString(lpszSQL) : GetDefaultSQL();
    if (!m_pDatabase || !m_pDatabase->IsOpen())
        AfxThrowDBException("08003", 0, "Connection not open");
    return Attach(m_pDatabase->GetBackend()->Execute(m_strSQL.Str(), nOpenType != forwardOnly));
}

BOOL CRecordset::OpenResult(const CString& strSQL, std::unique_ptr<CDbResult> pResult) {
    Close();
    m_strSQL = strSQL;
    return Attach(std::move(pResult));
}

BOOL CRecordset::Attach(std::unique_ptr<CDbResult> pResult) {
    m_pResult = std::move(pResult);
    m_hstmt = m_pResult.get();
    try {
        FetchAndBind();
    } catch (...) {
        Close();
        throw;
    }
    m_bBOF = m_bEOF;
    return TRUE;
}

void CRecordset::Close() {
    m_pRow = nullptr;
    m_nRowValues = 0;
    m_pResult.reset();
    m_hstmt = nullptr;
    m_bEOF = TRUE;
    m_bBOF = TRUE;
}

long CRecordset::GetRowCount() const {
    return IsOpen() ? m_pResult->RowCount() : -1;
}

void CRecordset::MoveNext() {
    if (!IsOpen() || m_bEOF)
        AfxThrowDBException("HY109", 0, "MoveNext past the end of the recordset");
    m_bBOF = FALSE;
    FetchAndBind();
}

// Binding fails for the statement as the backend would have: an error names it.
void CRecordset::FetchAndBind() {
    NamingStatement(m_strSQL.Str(), [this] {
        const std::optional<TDbRow> row = m_pResult->Fetch();
        m_pRow = row ? row->data() : nullptr;
        m_nRowValues = row ? row->size() : 0;
        m_bEOF = !row;
        if (m_bEOF)
            return;
        CFieldExchange fx(this, m_pRow, m_nRowValues);
        DoFieldExchange(&fx);
    });
}

const TDbColumn& CRecordset::Column(short nIndex) const {
    if (!IsOpen() || nIndex < 0 || static_cast<size_t>(nIndex) >= m_pResult->Columns().size())
        AfxThrowDBException("07009", 0, "Invalid descriptor index");
    return m_pResult->Columns()[static_cast<size_t>(nIndex)];
}

void CRecordset::GetFieldValue(short nIndex, CString& strValue) const {
    Column(nIndex);
    if (m_bEOF)
        AfxThrowDBException("24000", 0, "No current row");
    const TDbValue& field = m_pRow[static_cast<size_t>(nIndex)];
    strValue = field ? CString(*field) : CString();
}

void CRecordset::GetFieldValue(LPCTSTR lpszName, CString& strValue) const {
    if (!IsOpen())
        AfxThrowDBException("24000", 0, "Recordset not open");
    const std::vector<TDbColumn>& aColumns = m_pResult->Columns();
    for (size_t i = 0; i < aColumns.size(); ++i) {
        if (strcasecmp(aColumns[i].strName.c_str(), lpszName) == 0) {
            GetFieldValue(static_cast<short>(i), strValue);
            return;
        }
    }
    AfxThrowDBException("07009", 0, CString("No column named ") + lpszName);
}

short CRecordset::GetODBCFieldCount() const {
    return IsOpen() ? static_cast<short>(m_pResult->Columns().size()) : 0;
}

void CRecordset::GetODBCFieldInfo(short nIndex, CODBCFieldInfo& fieldInfo) const {
    const TDbColumn& column = Column(nIndex);
    fieldInfo.m_strName = column.strName;
    fieldInfo.m_nSQLType = column.nSqlType;
    fieldInfo.m_nPrecision = column.nPrecision;
    fieldInfo.m_nScale = column.nScale;
    fieldInfo.m_nNullability = column.nNullability;
}

void CRecordset::ThrowDBException(RETCODE nRetCode, HSTMT) {
    CString strMessage;
    strMessage.Format("ODBC call failed with return code %d", nRetCode);
    throw new CDBException(std::vector<TDiagRecord>{{"HY000", 0, strMessage}}, nRetCode);
}
