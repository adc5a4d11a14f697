#include "catalog/SQLRecBase.h"

#include "catalog/ConnectionContext.h"
#include "catalog/Prefetch.h"
#include "catalog/SqlIdentifiers.h"

CSQLRecBase::CSQLRecBase() : CRecordset(IsPoolEnabled() ? AcquireConnection() : GetContextDatabase()) {
    m_nDefaultType = IsPoolEnabled() ? CRecordset::forwardOnly : CRecordset::snapshot;
}

CSQLRecBase::~CSQLRecBase() {
    if (IsOpen()) {
        try {
            Close();
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
        } catch (...) {
        }
    }
    if (IsPoolEnabled())
        ReleaseConnection(m_pDatabase);
}

BOOL CSQLRecBase::Open(UINT nOpenType, LPCTSTR lpszSQL, DWORD dwOptions) {
    CPrefetchStore* pStore = GetPrefetchStore();
    if (!pStore || lpszSQL)
        return CRecordset::Open(nOpenType, lpszSQL, dwOptions);
    // The text first: building it puts "dbo" for an empty schema, as the server would see it.
    const CString strSQL = GetDefaultSQL();
    if (std::unique_ptr<CDbResult> pResult = pStore->Find(*this))
        return OpenResult(strSQL, std::move(pResult));
    return CRecordset::Open(nOpenType, strSQL, dwOptions);
}

void CSQLRecBase::ThrowDBException(RETCODE nRetCode, HSTMT hstmt) {
    CRecordset::ThrowDBException(nRetCode, hstmt ? hstmt : m_hstmt);
}

std::optional<TPrefetchKey> CSQLRecBase::DetailKey(EPrefetchFamily eFamily) const {
    if (!m_bDetail)
        return std::nullopt;
    return TPrefetchKey::ByName(eFamily, {m_strParamSchema, m_strParamName});
}

const CString& CSQLRecBase::DefaultSchemaToDbo() {
    if (m_strParamSchema.IsEmpty())
        m_strParamSchema = "dbo";
    return m_strParamSchema;
}
