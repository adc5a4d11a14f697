#include "catalog/SQLRecBase.h"

#include "catalog/ConnectionContext.h"
#include "catalog/SqlIdentifiers.h"

CSQLRecBase::CSQLRecBase() : CRecordset(IsPoolEnabled() ? AcquireConnection() : GetContextDatabase()) {
    m_nDefaultType = IsPoolEnabled() ? CRecordset::forwardOnly : CRecordset::snapshot;
}

CSQLRecBase::~CSQLRecBase() {
    if (IsOpen()) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
    }
    if (IsPoolEnabled())
        ReleaseConnection(m_pDatabase);
}

void CSQLRecBase::ThrowDBException(RETCODE nRetCode, HSTMT hstmt) {
    CRecordset::ThrowDBException(nRetCode, hstmt ? hstmt : m_hstmt);
}

const CString& CSQLRecBase::DefaultSchemaToDbo() {
    if (m_strParamSchema.IsEmpty())
        m_strParamSchema = "dbo";
    return m_strParamSchema;
}
