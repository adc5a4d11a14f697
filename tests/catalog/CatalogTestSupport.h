// Shared pieces of the catalog tests: snapshot connections and table-driven recordset cases.
#pragma once

#include "catalog/ConnectionContext.h"
#include "catalog/SQLRecBase.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

inline std::string CatalogFixture(const char* pszName) {
    return std::string(SCRIPTS_FIXTURES_DIR) + "/catalog/" + pszName;
}

// A host connection on a catalog snapshot, set as the connection context for the test's lifetime.
// The pool and the definition length are process-wide, so each test starts and ends with them empty.
class CSnapshotHost {
public:
    explicit CSnapshotHost(const char* pszFixture, bool bPooled = false) {
        ResetDefinitionLengthForTesting();
        CloseAllConnections();
        m_db.OpenEx(("SNAPSHOT=" + CatalogFixture(pszFixture)).c_str(), CDatabase::noOdbcDialog);
        SetConnectionContext(&m_db, bPooled);
    }
    CSnapshotHost(const CSnapshotHost&) = delete;
    CSnapshotHost& operator=(const CSnapshotHost&) = delete;
    ~CSnapshotHost() {
        CloseAllConnections();
        SetConnectionContext(nullptr, false);
    }

    CDatabase m_db;
};

// One recordset: how to prepare it, the statement it must send, its field count, what its rows hold.
struct TRecordsetCase {
    std::string strName;
    std::function<std::unique_ptr<CSQLRecBase>()> create;
    std::string strSQL;
    UINT nFields = 0;
    std::function<void(CSQLRecBase&)> check;
};

template <class TRec>
TRecordsetCase RecordsetCase(std::string strName, std::function<void(TRec&)> setup, std::string strSQL,
                             UINT nFields, std::function<void(TRec&)> check) {
    TRecordsetCase c;
    c.strName = std::move(strName);
    c.create = [setup]() -> std::unique_ptr<CSQLRecBase> {
        auto pRs = std::make_unique<TRec>();
        setup(*pRs);
        return pRs;
    };
    c.strSQL = std::move(strSQL);
    c.nFields = nFields;
    c.check = [check](CSQLRecBase& rs) { check(static_cast<TRec&>(rs)); };
    return c;
}

// Opens each recordset the way the generators do and checks its statement, field count and rows.
inline void RunRecordsetCases(const std::vector<TRecordsetCase>& aCases) {
    for (const TRecordsetCase& c : aCases) {
        SCOPED_TRACE(c.strName);
        std::unique_ptr<CSQLRecBase> pRs = c.create();
        EXPECT_EQ(pRs->m_nFields, c.nFields);
        try {
            pRs->Open(AFX_DB_USE_DEFAULT_TYPE, nullptr, CRecordset::none);
        } catch (CException* e) {
            ADD_FAILURE() << e->GetErrorText().GetString();
            e->Delete();
            continue;
        }
        EXPECT_EQ(pRs->GetSQL().Str(), c.strSQL);
        c.check(*pRs);
    }
}
