// Applies planned scripts to a database: every batch in order on one connection, except the files of rows,
// which with several connections load on all of them at once, a table per connection and, where a table's
// rows allow, a table's batches on several. A refusal stops the run unless it is to go on; a stop asked for
// (Ctrl-C) ends it before the next batch.
#pragma once

#include "apply/ScriptPlan.h"
#include "backend/DbBackend.h"

#include <vector>

struct TApplyOptions {
    bool bContinue = false; // go on after a refused batch
    // One transaction with XACT_ABORT ON, on the first connection only; the batches that cannot run inside
    // one run after it committed, in their order.
    bool bSingleTransaction = false;
};

// Hears the run; called from the thread of whichever connection the file is on.
class IApplyObserver {
public:
    virtual ~IApplyObserver() = default;
    // Asked before every batch: true ends the run there (Ctrl-C, SIGTERM).
    virtual bool ShouldStop() = 0;
    virtual void OnFileStarted(size_t nFile) = 0;
    // A batch ran, as often as its GO asks; nRows: the rows its statements affected.
    virtual void OnBatchApplied(size_t nFile, long nRows) = 0;
    virtual void OnFileApplied(size_t nFile) = 0;
    virtual void OnRefused(size_t nFile, long nLine, const CDBException& error) = 0;
    // The file could not be read again as it was when planned.
    virtual void OnUnreadable(size_t nFile, const CException& error) = 0;
    // What the server says besides refusing: a message (PRINT) and the rows each statement affected.
    virtual void OnServerMessage(size_t nFile, long nLine, const TDiagRecord& message) = 0;
    virtual void OnRowCount(size_t nFile, long nLine, long nRows) = 0;
};

struct TApplyResult {
    size_t nFiles = 0;     // applied to their end
    long nBatches = 0;     // applied, each once however often its GO repeats it
    long nRows = 0;        // affected, as the server counted them
    long nRefused = 0;     // batches the server refused
    bool bStopped = false; // ShouldStop ended the run
    bool bBroken = false;  // a refusal (without bContinue), a lost connection or an unreadable file ended it
    bool bCommitted = false; // the single transaction committed (the run may have stopped after it)
};

// aConnections: one at least; the first runs everything but the rows. Throws CDBException* when the single
// transaction cannot begin.
TApplyResult ApplyScripts(const TApplyPlan& plan, const std::vector<CDbConnection*>& aConnections,
                          const TApplyOptions& options, IApplyObserver& observer);
