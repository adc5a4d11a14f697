// The base of every catalog recordset: connection choice, list and detail modes, parameters.
#pragma once

#include "backend/Database.h"
#include "catalog/PrefetchKey.h"

#include <optional>

class CSQLRecBase : public CRecordset {
public:
    CSQLRecBase();
    // Closes the recordset without throwing and gives a pooled connection back.
    ~CSQLRecBase() override;

    virtual void SetDetail(bool bDetail) { m_bDetail = bDetail; }
    virtual CString GetDetailSQL() { return CString(); }
    virtual CString GetListSQL() { return CString(); }

    CString GetDefaultSQL() override { return m_bDetail ? GetDetailSQL() : GetListSQL(); }
    // The family and object of the per-object statement that the recordset, as set up now, sends; none
    // where no family answers it.
    virtual std::optional<TPrefetchKey> GetPrefetchKey() const { return std::nullopt; }
    // With prefetched rows that answer the statement for certain, opens on them instead of the server.
    BOOL Open(UINT nOpenType = AFX_DB_USE_DEFAULT_TYPE, LPCTSTR lpszSQL = nullptr,
              DWORD dwOptions = none) override;
    void ThrowDBException(RETCODE nRetCode, HSTMT hstmt = nullptr) override;

    bool m_bDetail = false;
    CString m_strParamName;
    CString m_strParamSchema;

protected:
    // Detail and dependent queries put "dbo" for an empty schema, and the member keeps it.
    const CString& DefaultSchemaToDbo();
    // The key of a detail statement that takes the parameters' schema and name; none in list mode.
    std::optional<TPrefetchKey> DetailKey(EPrefetchFamily eFamily) const;
};
