// CDatabase, CRecordset and record field exchange, over the backends of DbBackend.h.
#pragma once

#include "../platform/Exceptions.h"
#include "../platform/String.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDbConnection;
class CDbResult;
class TDbValue;
struct TDbColumn;

typedef void* HDBC;
typedef void* HSTMT;
typedef short RETCODE;

constexpr UINT AFX_DB_USE_DEFAULT_TYPE = 0xFFFFFFFF;
constexpr int SQL_TYPE_VARCHAR = 12;

class CDatabase {
public:
    enum DbOpenOptions : DWORD {
        openExclusive = 0x1,
        openReadOnly = 0x2,
        useCursorLib = 0x4,
        noOdbcDialog = 0x8,
        forceOdbcDialog = 0x10
    };

    CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;
    virtual ~CDatabase();

    // Never prompts: every failure throws CDBException* with the driver's diagnostics.
    virtual BOOL OpenEx(LPCTSTR lpszConnectString, DWORD dwOptions = 0);
    virtual void Close();
    BOOL IsOpen() const { return m_hdbc != nullptr; }
    // "ODBC;" followed by the connect string.
    CString GetConnect() const { return "ODBC;" + m_strConnect; }
    void SetQueryTimeout(DWORD dwSeconds);
    DWORD GetQueryTimeout() const { return m_dwQueryTimeout; }

    CDbConnection* GetBackend() const { return m_pConnection.get(); }

    HDBC m_hdbc = nullptr; // non-null while open

private:
    std::unique_ptr<CDbConnection> m_pConnection;
    CString m_strConnect;
    DWORD m_dwQueryTimeout = 15;
};

struct CODBCFieldInfo {
    CString m_strName;
    SWORD m_nSQLType = 0;
    std::uint64_t m_nPrecision = 0;
    SWORD m_nScale = 0;
    SWORD m_nNullability = 0;
};

class CRecordset;

// Moves the current row's values into the bound members, column by column in call order.
class CFieldExchange {
public:
    enum FieldType : UINT { noFieldType = 0xFFFFFFFF, outputColumn = 0, param = 1 };

    CFieldExchange(CRecordset* pRecordset, const TDbValue* pValues, size_t nValues);
    void SetFieldType(UINT nFieldType) { m_nFieldType = nFieldType; }

    // The value for the next bound column; throws when the result has fewer columns than bound.
    const TDbValue& NextValue();
    UINT m_nFieldType = noFieldType;

private:
    CRecordset* m_pRecordset;
    const TDbValue* m_pValues;
    size_t m_nValues;
    size_t m_nField = 0;
};

// Text, keeping at most nMaxLength characters; NULL gives empty text.
void RFX_Text(CFieldExchange* pFX, LPCTSTR szName, CString& value, int nMaxLength = 255,
              int nColumnType = SQL_TYPE_VARCHAR, short nScale = 0);
// 32-bit signed whole numbers; NULL gives 0.
void RFX_Long(CFieldExchange* pFX, LPCTSTR szName, long& value);
void RFX_Long(CFieldExchange* pFX, LPCTSTR szName, int& value);

class CRecordset {
public:
    enum OpenType : UINT { dynaset = 0, snapshot = 1, forwardOnly = 2, dynamic = 3 };
    enum OpenOptions : DWORD { none = 0x0, readOnly = 0x4 };

    explicit CRecordset(CDatabase* pDatabase = nullptr);
    CRecordset(const CRecordset&) = delete;
    CRecordset& operator=(const CRecordset&) = delete;
    virtual ~CRecordset();

    // Runs lpszSQL, or GetDefaultSQL() when it is null, and binds the first row.
    virtual BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCTSTR lpszSQL = nullptr,
                      DWORD dwOptions = none);
    virtual void Close();
    BOOL IsOpen() const { return m_hstmt != nullptr; }
    BOOL IsEOF() const { return m_bEOF; }
    BOOL IsBOF() const { return m_bBOF; }
    void MoveNext();

    void GetFieldValue(short nIndex, CString& strValue) const;
    void GetFieldValue(LPCTSTR lpszName, CString& strValue) const;
    short GetODBCFieldCount() const;
    void GetODBCFieldInfo(short nIndex, CODBCFieldInfo& fieldInfo) const;
    const CString& GetSQL() const { return m_strSQL; }
    // The rows of the result in all when they were fetched at Open (snapshot), else -1.
    long GetRowCount() const;

    virtual CString GetDefaultSQL() { return CString(); }
    virtual void DoFieldExchange(CFieldExchange*) {}
    virtual void ThrowDBException(RETCODE nRetCode, HSTMT hstmt = nullptr);

    CDatabase* m_pDatabase;
    UINT m_nFields = 0;
    UINT m_nDefaultType = snapshot;
    HSTMT m_hstmt = nullptr; // non-null while open

protected:
    // Opens on rows already at hand as if the server had answered strSQL with them.
    BOOL OpenResult(const CString& strSQL, std::unique_ptr<CDbResult> pResult);

private:
    // Reads the first row of the result, which the recordset keeps until Close.
    BOOL Attach(std::unique_ptr<CDbResult> pResult);
    void FetchAndBind();
    const TDbColumn& Column(short nIndex) const;

    std::unique_ptr<CDbResult> m_pResult;
    const TDbValue* m_pRow = nullptr; // the current row's values, null when there is none
    size_t m_nRowValues = 0;
    CString m_strSQL;
    BOOL m_bEOF = TRUE;
    BOOL m_bBOF = TRUE;
};
