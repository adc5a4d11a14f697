// Snapshot backends: replay of a recorded catalog, and recording while running live over ODBC.
#include "backend/ConnectString.h"
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "backend/SnapshotFaults.h"
#include "backend/SnapshotWriter.h"

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
#include <utility>

namespace {

// DELAY_US=<n> among the options after the path: each statement waits that long before its answer, as
// it would for a server across a network.
std::chrono::microseconds ReplayDelay(std::string_view strOptions) {
    return std::chrono::microseconds(std::atol(ConnectValue(strOptions, "DELAY_US").c_str()));
}

// A recorded statement's rows, where the snapshot holds them.
class CSnapshotResult : public CDbResult {
public:
    CSnapshotResult(std::shared_ptr<const CCatalogSnapshot> pSnapshot, const TSnapshotEntry* pEntry)
        : m_pSnapshot(std::move(pSnapshot)), m_pEntry(pEntry) {}
    const std::vector<TDbColumn>& Columns() const override { return *m_pEntry->pColumns; }
    std::optional<TDbRow> Fetch() override {
        if (m_nNext == m_pEntry->nRows)
            return std::nullopt;
        return m_pSnapshot->GetRow(*m_pEntry, m_nNext++);
    }
    long RowCount() const override { return static_cast<long>(m_pEntry->nRows); }
    bool KeepsRows() const override { return true; }

private:
    std::shared_ptr<const CCatalogSnapshot> m_pSnapshot;
    const TSnapshotEntry* m_pEntry;
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
    std::string GetDatabaseName() const override { return m_pSnapshot->GetDatabase(); }
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
        const TSnapshotEntry* pEntry = m_pSnapshot->Find(strSql);
        if (!pEntry)
            AfxThrowDBException(
                "HY000", 0,
                CString("Statement not in catalog snapshot " + Describe() + ": \"" + strSql + "\""));
        if (pEntry->pError)
            throw new CDBException({*pEntry->pError});
        return std::make_unique<CSnapshotResult>(m_pSnapshot, pEntry);
    }

    // The snapshot's path, and why it lacks what was asked after its recording was cut short.
    std::string Describe() const {
        const std::string& strCutShort = m_pSnapshot->GetCutShort();
        return m_pSnapshot->GetPath() +
               (strCutShort.empty() ? "" : " (its recording was cut short: " + strCutShort + ")");
    }

    std::shared_ptr<const CCatalogSnapshot> m_pSnapshot;
    std::chrono::microseconds m_delay;
    std::shared_ptr<CSnapshotFault> m_pFault;
};

// The rows of a result read whole, kept to be served after they were recorded.
class CRecordedResult : public CDbResult {
public:
    explicit CRecordedResult(std::unique_ptr<CDbResult> pInner) : m_pInner(std::move(pInner)) {
        while (const std::optional<TDbRow> row = m_pInner->Fetch())
            m_aRows.push_back(m_pInner->KeepsRows() ? *row : m_copies.Add(*row));
    }
    const std::vector<TDbColumn>& Columns() const override { return m_pInner->Columns(); }
    std::optional<TDbRow> Fetch() override {
        return m_nNext < m_aRows.size() ? std::optional(m_aRows[m_nNext++]) : std::nullopt;
    }
    long RowCount() const override { return static_cast<long>(m_aRows.size()); }
    bool KeepsRows() const override { return true; }
    const std::vector<TDbRow>& Rows() const { return m_aRows; }

private:
    std::unique_ptr<CDbResult> m_pInner;
    CHeldRows m_copies; // of rows the inner result does not keep
    std::vector<TDbRow> m_aRows;
    size_t m_nNext = 0;
};

// Writes the answers of every connection recording to one file as they come, each statement once; ends
// the file when the last connection closes.
class CSnapshotRecorder {
public:
    CSnapshotRecorder(const std::string& strPath, const std::string& strDatabase)
        : m_strPath(strPath), m_writer(strPath, "recorded by sqlscripts", strDatabase) {}
    CSnapshotRecorder(const CSnapshotRecorder&) = delete;
    CSnapshotRecorder& operator=(const CSnapshotRecorder&) = delete;

    ~CSnapshotRecorder() { Finish(); }

    // strDatabase: the database of the connection that opens the file.
    static std::shared_ptr<CSnapshotRecorder> ForPath(const std::string& strPath,
                                                      const std::string& strDatabase) {
        std::lock_guard lock(s_mutex);
        std::weak_ptr<CSnapshotRecorder>& entry = s_recorders[strPath];
        if (auto pRecorder = entry.lock())
            return pRecorder;
        auto pRecorder = std::make_shared<CSnapshotRecorder>(strPath, strDatabase);
        entry = pRecorder;
        return pRecorder;
    }

    static void CutShortAll(const std::string& strReason, bool bFinish) {
        std::lock_guard lock(s_mutex);
        for (const auto& [strPath, entry] : s_recorders)
            if (const auto pRecorder = entry.lock()) {
                pRecorder->CutShort(strReason);
                if (bFinish)
                    pRecorder->Finish();
            }
    }

    void Record(const std::string& strSql, const CRecordedResult& result) {
        std::lock_guard lock(m_mutex);
        if (!FirstTime(strSql))
            return;
        m_writer.WriteStatement(strSql, result.Columns());
        for (const TDbRow row : result.Rows())
            m_writer.WriteRow(row);
    }

    // A spool for a statement whose rows are read as they come; null when the statement is recorded already.
    std::unique_ptr<CSnapshotWriter> Spool(const std::string& strSql) {
        std::lock_guard lock(m_mutex);
        return m_seen.count(std::hash<std::string>()(strSql))
                   ? nullptr
                   : std::make_unique<CSnapshotWriter>(CSnapshotWriter::TSpool(), m_strPath);
    }

    void RecordSpooled(const std::string& strSql, CSnapshotWriter& spool) {
        std::lock_guard lock(m_mutex);
        if (FirstTime(strSql))
            m_writer.Append(spool);
    }

    // Runs work, which asks the server about strSql, and records the server's error when it fails; a lost
    // connection is no answer of the server's to the statement, and cuts the recording short instead.
    template <class TWork> auto Watching(const std::string& strSql, TWork work) -> decltype(work()) {
        try {
            return work();
        } catch (CDBException* e) {
            const TDiagRecord error =
                e->m_aRecords.empty() ? TDiagRecord{"HY000", 0, e->m_strError} : e->m_aRecords.front();
            if (error.strSqlState.Str().starts_with("08"))
                CutShort("the connection to the server was lost");
            else
                RecordError(strSql, error);
            throw;
        }
    }

    void RecordError(const std::string& strSql, const TDiagRecord& error) {
        std::lock_guard lock(m_mutex);
        if (FirstTime(strSql))
            m_writer.WriteError(strSql, error);
    }

    void CutShort(const std::string& strReason) {
        std::lock_guard lock(m_mutex);
        if (m_strCutShort.empty())
            m_strCutShort = strReason;
    }

private:
    // Once: the end line and the file's name. Nothing is recorded after it.
    void Finish() {
        std::lock_guard lock(m_mutex);
        if (std::exchange(m_bFinished, true))
            return;
        try {
            m_writer.Finish(m_strCutShort);
        } catch (CException* e) {
            const CExceptionPtr<> guard(e);
            std::fprintf(stderr, "sqlscripts: %s\n", e->GetErrorText().GetString());
        }
    }

    // Statements are told apart by a hash of their text: keeping the texts would grow with the catalog.
    bool FirstTime(const std::string& strSql) {
        return !m_bFinished && m_seen.insert(std::hash<std::string>()(strSql)).second;
    }

    static inline std::mutex s_mutex;
    static inline std::map<std::string, std::weak_ptr<CSnapshotRecorder>> s_recorders;
    std::mutex m_mutex;
    const std::string m_strPath;
    CSnapshotWriter m_writer;
    std::unordered_set<size_t> m_seen;
    std::string m_strCutShort;
    bool m_bFinished = false;
};

// The rows of a forward-only read, passed on as they come and written to a spool meanwhile, so that a large
// table is recorded without being held: the statement goes into the snapshot once its last row was read, and
// not at all when the reader stops before.
class CRecordingStream : public CDbResult {
public:
    CRecordingStream(std::string strSql, std::unique_ptr<CDbResult> pInner,
                     std::shared_ptr<CSnapshotRecorder> pRecorder)
        : m_strSql(std::move(strSql)), m_pInner(std::move(pInner)), m_pRecorder(std::move(pRecorder)),
          m_pSpool(m_pRecorder->Spool(m_strSql)) {
        if (m_pSpool)
            m_pSpool->WriteStatement(m_strSql, m_pInner->Columns());
    }
    const std::vector<TDbColumn>& Columns() const override { return m_pInner->Columns(); }
    std::optional<TDbRow> Fetch() override {
        const std::optional<TDbRow> row = m_pRecorder->Watching(m_strSql, [&] { return m_pInner->Fetch(); });
        if (m_pSpool && row)
            m_pSpool->WriteRow(*row);
        else if (m_pSpool)
            m_pRecorder->RecordSpooled(m_strSql, *std::exchange(m_pSpool, nullptr));
        return row;
    }

private:
    std::string m_strSql;
    std::unique_ptr<CDbResult> m_pInner;
    std::shared_ptr<CSnapshotRecorder> m_pRecorder;
    std::unique_ptr<CSnapshotWriter> m_pSpool;
};

class CRecordingConnection : public CDbConnection {
public:
    CRecordingConnection(const std::string& strPath, const std::string& strConnect)
        : m_pInner(OpenDbConnection(strConnect)),
          m_pRecorder(CSnapshotRecorder::ForPath(strPath, m_pInner->GetDatabaseName())) {}

    // Every result is read whole, so that it can be recorded as the server sent it.
    std::unique_ptr<CDbResult> Execute(const std::string& strSql, bool) override {
        return Keep(strSql, m_pRecorder->Watching(strSql, [&] { return m_pInner->Execute(strSql, true); }));
    }

    std::unique_ptr<CDbResult> ExecuteStream(const std::string& strSql) override {
        return std::make_unique<CRecordingStream>(
            strSql, m_pRecorder->Watching(strSql, [&] { return m_pInner->ExecuteStream(strSql); }),
            m_pRecorder);
    }

    // Each statement is kept as if sent alone, so that a replay finds it either way. A failed batch is not
    // kept: which of its statements failed is not known.
    std::vector<std::unique_ptr<CDbResult>> ExecuteBatch(const std::vector<std::string>& aSql) override {
        std::vector<std::unique_ptr<CDbResult>> aResults = m_pInner->ExecuteBatch(aSql);
        for (size_t i = 0; i < aResults.size(); ++i)
            aResults[i] = Keep(aSql[i], std::move(aResults[i]));
        return aResults;
    }

    void SetQueryTimeout(DWORD dwSeconds) override { m_pInner->SetQueryTimeout(dwSeconds); }
    void Cancel() override { m_pInner->Cancel(); }
    std::string GetDatabaseName() const override { return m_pInner->GetDatabaseName(); }

private:
    std::unique_ptr<CDbResult> Keep(const std::string& strSql, std::unique_ptr<CDbResult> pResult) {
        auto pRecorded = std::make_unique<CRecordedResult>(std::move(pResult));
        m_pRecorder->Record(strSql, *pRecorded);
        return pRecorded;
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

void CutShortSnapshotRecordings(const std::string& strReason) {
    CSnapshotRecorder::CutShortAll(strReason, false);
}

void FinishSnapshotRecordings(const std::string& strReason) {
    CSnapshotRecorder::CutShortAll(strReason, true);
}
