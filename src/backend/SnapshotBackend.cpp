// Snapshot backends: replay of a recorded catalog, and recording while running live over ODBC.
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "backend/SnapshotFaults.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string_view>
#include <strings.h>
#include <thread>
#include <unordered_set>

namespace {

// DELAY_US=<n> among the options after the path: each statement waits that long before its answer, as
// it would for a server across a network.
std::chrono::microseconds ReplayDelay(std::string_view strOptions) {
    constexpr std::string_view kKey = "DELAY_US=";
    while (!strOptions.empty()) {
        const size_t nEnd = std::min(strOptions.find(';'), strOptions.size());
        const std::string_view strItem = strOptions.substr(0, nEnd);
        if (strItem.size() > kKey.size() && strncasecmp(strItem.data(), kKey.data(), kKey.size()) == 0)
            return std::chrono::microseconds(std::atol(std::string(strItem.substr(kKey.size())).c_str()));
        strOptions.remove_prefix(std::min(nEnd + 1, strOptions.size()));
    }
    return std::chrono::microseconds(0);
}

class CSnapshotResult : public CDbResult {
public:
    CSnapshotResult(std::shared_ptr<const CCatalogSnapshot> pSnapshot, const TSnapshotStatement* pStatement)
        : m_pSnapshot(std::move(pSnapshot)), m_pStatement(pStatement) {}
    const std::vector<TDbColumn>& Columns() const override { return m_pStatement->aColumns; }
    const TDbRow* Fetch() override {
        return m_nNext < m_pStatement->aRows.size() ? &m_pStatement->aRows[m_nNext++] : nullptr;
    }
    long RowCount() const override { return static_cast<long>(m_pStatement->aRows.size()); }
    bool KeepsRows() const override { return true; }

private:
    std::shared_ptr<const CCatalogSnapshot> m_pSnapshot;
    const TSnapshotStatement* m_pStatement;
    size_t m_nNext = 0;
};

class CSnapshotReplay : public CDbConnection {
public:
    CSnapshotReplay(const std::string& strPath, const std::string& strOptions)
        : m_pSnapshot(CCatalogSnapshot::Open(strPath)), m_delay(ReplayDelay(strOptions)),
          m_pFault(CSnapshotFault::FromOptions(strOptions, m_pSnapshot.get())) {}

    std::unique_ptr<CDbResult> Execute(const std::string& strSql, bool) override {
        Wait();
        return Answer(strSql);
    }

    // One wait for the batch, as one round trip.
    std::vector<std::unique_ptr<CDbResult>> ExecuteBatch(const std::vector<std::string>& aSql) override {
        Wait();
        std::vector<std::unique_ptr<CDbResult>> aResults;
        for (const std::string& strSql : aSql)
            aResults.push_back(Answer(strSql));
        return aResults;
    }

    void SetQueryTimeout(DWORD) override {}
    const CCatalogSnapshot* GetSnapshot() const override { return m_pSnapshot.get(); }

private:
    void Wait() const {
        if (m_delay.count() > 0)
            std::this_thread::sleep_for(m_delay);
    }

    std::unique_ptr<CDbResult> Answer(const std::string& strSql) {
        return NamingStatement(strSql, [&] { return Find(strSql); });
    }

    std::unique_ptr<CDbResult> Find(const std::string& strSql) {
        if (m_pFault)
            m_pFault->BeforeExecute(strSql);
        else
            NotifySnapshotStatement(strSql);
        const TSnapshotStatement* pStatement = m_pSnapshot->Find(strSql);
        if (!pStatement)
            AfxThrowDBException("HY000", 0,
                                CString("Statement not in catalog snapshot " + m_pSnapshot->GetPath() +
                                        ": \"" + strSql + "\""));
        if (pStatement->error)
            throw new CDBException({*pStatement->error});
        return std::make_unique<CSnapshotResult>(m_pSnapshot, pStatement);
    }

    std::shared_ptr<const CCatalogSnapshot> m_pSnapshot;
    std::chrono::microseconds m_delay;
    std::shared_ptr<CSnapshotFault> m_pFault;
};

// Collects the answers of every connection recording to one file; writes it when the last one closes.
class CSnapshotRecorder {
public:
    explicit CSnapshotRecorder(std::string strPath) : m_strPath(std::move(strPath)) {}
    CSnapshotRecorder(const CSnapshotRecorder&) = delete;
    CSnapshotRecorder& operator=(const CSnapshotRecorder&) = delete;

    ~CSnapshotRecorder() {
        try {
            CCatalogSnapshot::Save(m_strPath, m_aStatements, "recorded by sqlscripts");
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
            std::fprintf(stderr, "sqlscripts: %s\n", e->GetErrorText().GetString());
        }
    }

    static std::shared_ptr<CSnapshotRecorder> ForPath(const std::string& strPath) {
        static std::mutex mutex;
        static std::map<std::string, std::weak_ptr<CSnapshotRecorder>> recorders;
        std::lock_guard lock(mutex);
        std::weak_ptr<CSnapshotRecorder>& entry = recorders[strPath];
        if (auto pRecorder = entry.lock())
            return pRecorder;
        auto pRecorder = std::make_shared<CSnapshotRecorder>(strPath);
        entry = pRecorder;
        return pRecorder;
    }

    void Record(TSnapshotStatement stmt) {
        std::lock_guard lock(m_mutex);
        if (m_seen.insert(stmt.strSql).second)
            m_aStatements.push_back(std::move(stmt));
    }

private:
    std::string m_strPath;
    std::mutex m_mutex;
    std::unordered_set<std::string> m_seen;
    std::vector<TSnapshotStatement> m_aStatements;
};

class CRecordingConnection : public CDbConnection {
public:
    CRecordingConnection(const std::string& strPath, const std::string& strConnect)
        : m_pInner(OpenOdbcConnection(strConnect)), m_pRecorder(CSnapshotRecorder::ForPath(strPath)) {}

    // Every result is read whole, so that it can be recorded as the server sent it.
    std::unique_ptr<CDbResult> Execute(const std::string& strSql, bool) override {
        std::unique_ptr<CDbResult> pResult;
        try {
            pResult = m_pInner->Execute(strSql, true);
        } catch (CDBException* e) {
            TSnapshotStatement stmt;
            stmt.strSql = strSql;
            stmt.error =
                e->m_aRecords.empty() ? TDiagRecord{"HY000", 0, e->m_strError} : e->m_aRecords.front();
            m_pRecorder->Record(std::move(stmt));
            throw;
        }
        return Keep(strSql, *pResult);
    }

    // Each statement is kept as if sent alone, so that a replay finds it either way. A failed batch is not
    // kept: which of its statements failed is not known.
    std::vector<std::unique_ptr<CDbResult>> ExecuteBatch(const std::vector<std::string>& aSql) override {
        std::vector<std::unique_ptr<CDbResult>> aResults = m_pInner->ExecuteBatch(aSql);
        for (size_t i = 0; i < aResults.size(); ++i)
            aResults[i] = Keep(aSql[i], *aResults[i]);
        return aResults;
    }

    void SetQueryTimeout(DWORD dwSeconds) override { m_pInner->SetQueryTimeout(dwSeconds); }

private:
    std::unique_ptr<CDbResult> Keep(const std::string& strSql, CDbResult& result) {
        TSnapshotStatement stmt;
        stmt.strSql = strSql;
        stmt.aColumns = result.Columns();
        while (const TDbRow* pRow = result.Fetch())
            stmt.aRows.push_back(*pRow);
        m_pRecorder->Record(stmt);
        return std::make_unique<CRowsResult>(std::move(stmt.aColumns), std::move(stmt.aRows));
    }

    std::unique_ptr<CDbConnection> m_pInner;
    std::shared_ptr<CSnapshotRecorder> m_pRecorder;
};

} // namespace

std::unique_ptr<CDbConnection> OpenSnapshotReplay(const std::string& strPath, const std::string& strOptions) {
    return std::make_unique<CSnapshotReplay>(strPath, strOptions);
}

std::unique_ptr<CDbConnection> OpenSnapshotRecorder(const std::string& strPath,
                                                    const std::string& strConnect) {
    return std::make_unique<CRecordingConnection>(strPath, strConnect);
}
