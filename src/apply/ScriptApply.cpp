#include "apply/ScriptApply.h"

#include "apply/TargetCatalog.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace {

// Hands what the server says about one batch to the observer, and counts the rows.
class CBatchListener : public IBatchListener {
public:
    CBatchListener(IApplyObserver& observer, size_t nFile, long nLine)
        : m_observer(observer), m_nFile(nFile), m_nLine(nLine) {}
    void OnRowCount(long nRows) override {
        m_nRows += nRows;
        m_observer.OnRowCount(m_nFile, m_nLine, nRows);
    }
    void OnMessage(const TDiagRecord& message) override {
        m_observer.OnServerMessage(m_nFile, m_nLine, message);
    }
    long Rows() const { return m_nRows; }

private:
    IApplyObserver& m_observer;
    size_t m_nFile;
    long m_nLine;
    long m_nRows = 0;
};

bool IsConnectionLost(const CDBException& e) {
    return e.GetSqlState().Str().starts_with("08");
}

// A file of rows while the section of rows loads.
struct TRowsFileState {
    enum EState { Waiting, Running, Done } eState = Waiting;
    std::vector<size_t> aAfter; // the files that must be done before it starts
    bool bSpread = false;       // its INSERT batches go to whichever connection takes them
    int nWorkers = 0;
    std::atomic<bool> bExhausted{false}; // every INSERT batch is taken
    std::mutex readerMutex;
    std::unique_ptr<CScriptReader> pReader; // shared by the connections of a spread file
    long nTaken = 0;
};

class CApplyRun {
public:
    CApplyRun(const TApplyPlan& plan, const std::vector<CDbConnection*>& aConnections,
              const TApplyOptions& options, IApplyObserver& observer)
        : m_plan(plan), m_aConnections(aConnections), m_options(options), m_observer(observer) {}

    TApplyResult Run() {
        CDbConnection& main = *m_aConnections.front();
        if (m_options.bSingleTransaction) {
            m_ePart = EPart::InTransaction;
            Execute(main, "SET XACT_ABORT ON; BEGIN TRANSACTION;");
        }
        const auto [nFirstRows, nEndRows] = RowsSection();
        RunInOrder(main, 0, nFirstRows);
        if (m_aConnections.size() > 1 && !m_options.bSingleTransaction)
            LoadRows(nFirstRows, nEndRows);
        else
            RunInOrder(main, nFirstRows, nEndRows);
        RunInOrder(main, nEndRows, m_plan.aFiles.size());
        Conclude(main);
        if (m_bCommitted) {
            m_ePart = EPart::AfterCommit;
            RunInOrder(main, 0, m_plan.aFiles.size());
            if (m_bHalt)
                RollBack();
        }
        TApplyResult result;
        result.nFiles = m_nFiles;
        result.nBatches = m_nBatches;
        result.nRows = m_nRows;
        result.nRefused = m_nRefused;
        result.bStopped = m_bStopped;
        result.bBroken = m_bBroken;
        result.bCommitted = m_bCommitted;
        return result;
    }

private:
    // Which of a file's batches a pass over the files runs: with the single transaction, those that can run
    // inside it, then after it committed those that cannot.
    enum class EPart { Every, InTransaction, AfterCommit };
    static void Execute(CDbConnection& connection, const std::string& strSql) {
        connection.Execute(strSql, true);
    }

    // The single transaction is committed when everything applied; a run that ended early leaves no
    // transaction open, on any connection, that a batch began.
    void Conclude(CDbConnection& main) {
        if (m_options.bSingleTransaction && !m_bHalt && m_nRefused == 0) {
            Execute(main, "COMMIT TRANSACTION;");
            m_bCommitted = true;
            return;
        }
        if (!m_bHalt && !m_options.bSingleTransaction)
            return;
        RollBack();
    }

    // No transaction that a batch began is left open on any connection.
    void RollBack() {
        for (CDbConnection* pConnection : m_aConnections) {
            try {
                Execute(*pConnection, "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION;");
            } catch (CDBException* e) {
                e->Delete(); // a connection that is gone has rolled back
            }
        }
    }

    std::pair<size_t, size_t> RowsSection() const {
        size_t nFirst = m_plan.aFiles.size(), nEnd = m_plan.aFiles.size();
        for (size_t nFile = 0; nFile < m_plan.aFiles.size(); ++nFile) {
            if (!m_plan.aFiles[nFile].file.bRows)
                continue;
            nFirst = std::min(nFirst, nFile);
            nEnd = nFile + 1;
        }
        return {std::min(nFirst, nEnd), nEnd};
    }

    void Halt(std::atomic<bool>& bWhy) {
        {
            std::lock_guard lock(m_mutex);
            bWhy = true;
            m_bHalt = true;
        }
        m_changed.notify_all();
    }

    // Runs the batch as often as its GO says; false when the run is to end.
    bool RunBatch(CDbConnection& connection, size_t nFile, const TScriptBatch& batch, bool bCounted = true) {
        long nRows = 0;
        for (long nTime = 0; nTime < batch.nRepeat; ++nTime) {
            if (m_bHalt)
                return false;
            if (m_observer.ShouldStop()) {
                Halt(m_bStopped);
                return false;
            }
            CBatchListener listener(m_observer, nFile, batch.nLine);
            try {
                connection.ExecuteScript(batch.strText, listener);
            } catch (CDBException* e) {
                const CExceptionPtr<CDBException> guard(e);
                return Refused(nFile, batch.nLine, *e);
            }
            nRows += listener.Rows();
        }
        m_nRows += nRows;
        if (bCounted) {
            ++m_nBatches;
            m_observer.OnBatchApplied(nFile, nRows);
        }
        return true;
    }

    // A batch cancelled by a stop is no refusal.
    bool Refused(size_t nFile, long nLine, const CDBException& e) {
        if (m_observer.ShouldStop()) {
            Halt(m_bStopped);
            return false;
        }
        ++m_nRefused;
        m_observer.OnRefused(nFile, nLine, e);
        if (m_options.bContinue && !IsConnectionLost(e))
            return true;
        Halt(m_bBroken);
        return false;
    }

    bool Unreadable(size_t nFile, CException* e) {
        const CExceptionPtr<> guard(e);
        m_observer.OnUnreadable(nFile, *e);
        Halt(m_bBroken);
        return false;
    }

    // The file's batches of the pass under way; false when the run is to end. A file starts in the first pass
    // that runs any of its batches (an empty file in the first), and is applied after the last.
    bool RunFile(CDbConnection& connection, size_t nFile) {
        const std::vector<long>& aOutside = m_plan.aFiles[nFile].aOutsideTransaction;
        const bool bAllOutside = static_cast<long>(aOutside.size()) == m_plan.aFiles[nFile].nBatches;
        EPart eFirst = m_ePart, eLast = m_ePart;
        if (m_ePart != EPart::Every) {
            eFirst = bAllOutside && !aOutside.empty() ? EPart::AfterCommit : EPart::InTransaction;
            eLast = aOutside.empty() ? EPart::InTransaction : EPart::AfterCommit;
        }
        if (m_ePart < eFirst || m_ePart > eLast)
            return true;
        if (m_ePart == eFirst)
            m_observer.OnFileStarted(nFile);
        try {
            const std::unique_ptr<CScriptReader> pReader = OpenScript(m_plan.aFiles[nFile].file);
            auto itOutside = aOutside.begin();
            for (long nBatch = 0; const std::optional<TScriptBatch> batch = pReader->Next(); ++nBatch) {
                const bool bOutside = itOutside != aOutside.end() && *itOutside == nBatch;
                itOutside += bOutside ? 1 : 0;
                if (m_ePart != EPart::Every && bOutside != (m_ePart == EPart::AfterCommit))
                    continue;
                if (!RunBatch(connection, nFile, *batch))
                    return false;
            }
        } catch (CException* e) {
            return Unreadable(nFile, e);
        }
        if (m_ePart == eLast)
            FileApplied(nFile);
        return true;
    }

    void FileApplied(size_t nFile) {
        ++m_nFiles;
        m_observer.OnFileApplied(nFile);
    }

    void RunInOrder(CDbConnection& connection, size_t nFirst, size_t nEnd) {
        for (size_t nFile = nFirst; nFile < nEnd && !m_bHalt; ++nFile)
            RunFile(connection, nFile);
    }

    // The files of rows on every connection at once. A file waits for the files before it whose tables its
    // table's foreign keys reference, and for those that must run alone; without the tables' keys and
    // identity columns known, the files load in order on one connection.
    void LoadRows(size_t nFirst, size_t nEnd) {
        std::optional<CTargetTables> tables;
        try {
            FollowMainDatabase();
            tables.emplace(*m_aConnections.front());
        } catch (CDBException* e) {
            e->Delete();
            RunInOrder(*m_aConnections.front(), nFirst, nEnd);
            return;
        }
        m_nFirstRows = nFirst;
        m_aRows = std::vector<TRowsFileState>(nEnd - nFirst);
        for (size_t nFile = nFirst; nFile < nEnd; ++nFile) {
            const TRowsShape& shape = m_plan.aFiles[nFile].rows;
            TRowsFileState& state = m_aRows[nFile - nFirst];
            state.bSpread = shape.bSpreadable && (shape.bIdentityInsert || !tables->HasIdentity(shape.table));
            for (size_t nBefore = nFirst; nBefore < nFile; ++nBefore) {
                const TRowsShape& before = m_plan.aFiles[nBefore].rows;
                if (shape.bAlone || before.bAlone || tables->References(shape.table, before.table))
                    state.aAfter.push_back(nBefore - nFirst);
            }
        }
        std::vector<std::thread> aThreads;
        for (size_t nConnection = 1; nConnection < m_aConnections.size(); ++nConnection)
            aThreads.emplace_back([this, nConnection] { LoadOn(*m_aConnections[nConnection]); });
        LoadOn(*m_aConnections.front());
        for (std::thread& thread : aThreads)
            thread.join();
    }

    // The other connections were opened on the connect string's database; an earlier file may have switched
    // the first to another (a USE after CREATE DATABASE), where the rows belong.
    void FollowMainDatabase() {
        // Bracketed by REPLACE: QUOTENAME doubles quotes as well on some servers.
        const std::unique_ptr<CDbResult> pResult = m_aConnections.front()->Execute(
            "SELECT N'USE [' + REPLACE(DB_NAME(), N']', N']]') + N'];';", true);
        const std::optional<TDbRow> row = pResult->Fetch();
        if (!row || !(*row)[0])
            return;
        const std::string strUse(*(*row)[0]);
        for (size_t nConnection = 1; nConnection < m_aConnections.size(); ++nConnection)
            Execute(*m_aConnections[nConnection], strUse);
    }

    struct TPick {
        TRowsFileState* pState = nullptr;
        bool bStarted = false; // the file starts here, rather than taking another connection on
    };

    // Called with m_mutex held: a file to start, or one being spread to join; none when there is none now.
    TPick Pick() {
        for (TRowsFileState& state : m_aRows) {
            if (state.eState == TRowsFileState::Waiting &&
                std::all_of(state.aAfter.begin(), state.aAfter.end(), [this](size_t nBefore) {
                    return m_aRows[nBefore].eState == TRowsFileState::Done;
                })) {
                state.eState = TRowsFileState::Running;
                ++state.nWorkers;
                return {&state, true};
            }
        }
        for (TRowsFileState& state : m_aRows) {
            if (state.eState == TRowsFileState::Running && state.bSpread && !state.bExhausted) {
                ++state.nWorkers;
                return {&state, false};
            }
        }
        return {};
    }

    bool AllDone() const {
        return std::all_of(m_aRows.begin(), m_aRows.end(),
                           [](const TRowsFileState& state) { return state.eState == TRowsFileState::Done; });
    }

    void LoadOn(CDbConnection& connection) {
        for (;;) {
            TPick pick;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_bHalt || (pick = Pick()).pState || AllDone(); });
                if (!pick.pState)
                    return;
            }
            TRowsFileState* const pState = pick.pState;
            const size_t nFile = m_nFirstRows + static_cast<size_t>(pState - m_aRows.data());
            const bool bDone = pState->bSpread ? LoadShare(connection, nFile, *pState, pick.bStarted)
                                               : RunFile(connection, nFile);
            std::lock_guard lock(m_mutex);
            if (--pState->nWorkers == 0 && (pState->bExhausted || !pState->bSpread)) {
                pState->eState = TRowsFileState::Done;
                if (bDone && pState->bSpread && !m_bHalt)
                    FileApplied(nFile);
            }
            m_changed.notify_all();
        }
    }

    // The settings of a spread file before its INSERTs, as many INSERT batches as this connection takes, and
    // its settings after them. Only the file's first connection counts its settings as the file's batches.
    bool LoadShare(CDbConnection& connection, size_t nFile, TRowsFileState& state, bool bOwner) {
        const TRowsShape& shape = m_plan.aFiles[nFile].rows;
        if (bOwner)
            m_observer.OnFileStarted(nFile);
        for (const TScriptBatch& batch : shape.aBefore)
            if (!RunBatch(connection, nFile, batch, bOwner))
                return false;
        while (std::optional<TScriptBatch> batch = TakeRows(nFile, state))
            if (!RunBatch(connection, nFile, *batch))
                return false;
        if (m_bHalt)
            return false;
        for (const TScriptBatch& batch : shape.aAfter)
            if (!RunBatch(connection, nFile, batch, bOwner))
                return false;
        return true;
    }

    // The next INSERT batch of a spread file; none once all are taken (or the file cannot be read again).
    std::optional<TScriptBatch> TakeRows(size_t nFile, TRowsFileState& state) {
        const TRowsShape& shape = m_plan.aFiles[nFile].rows;
        std::lock_guard lock(state.readerMutex);
        if (state.bExhausted)
            return std::nullopt;
        std::optional<TScriptBatch> batch;
        try {
            if (!state.pReader) {
                state.pReader = OpenScript(m_plan.aFiles[nFile].file);
                for (size_t nSkipped = 0; nSkipped < shape.aBefore.size(); ++nSkipped)
                    state.pReader->Next();
            }
            batch = state.pReader->Next();
        } catch (CException* e) {
            Unreadable(nFile, e);
        }
        if (batch && ++state.nTaken < shape.nRowBatches)
            return batch;
        state.bExhausted = true;
        state.pReader.reset();
        return batch;
    }

    const TApplyPlan& m_plan;
    const std::vector<CDbConnection*>& m_aConnections;
    const TApplyOptions m_options;
    IApplyObserver& m_observer;

    std::atomic<size_t> m_nFiles{0};
    std::atomic<long> m_nBatches{0}, m_nRows{0}, m_nRefused{0};
    std::atomic<bool> m_bHalt{false}, m_bStopped{false}, m_bBroken{false};
    EPart m_ePart = EPart::Every;
    bool m_bCommitted = false;

    std::mutex m_mutex; // over the states of the files of rows
    std::condition_variable m_changed;
    size_t m_nFirstRows = 0;
    std::vector<TRowsFileState> m_aRows;
};

} // namespace

TApplyResult ApplyScripts(const TApplyPlan& plan, const std::vector<CDbConnection*>& aConnections,
                          const TApplyOptions& options, IApplyObserver& observer) {
    return CApplyRun(plan, aConnections, options, observer).Run();
}
