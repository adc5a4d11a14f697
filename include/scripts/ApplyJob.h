// Applying scripts as a program runs it: a folder an export wrote, in its manifest's order, a script file or
// a script held in memory, split into batches at GO lines and run against a database; the files of rows on
// several connections at once.
#pragma once

#include "ExportJobs.h"
#include "JobNotice.h"

#include <memory>
#include <string>
#include <vector>

struct TApplyJobOptions {
    // A folder with a manifest, or a script file; with pScript, what names it where no line can.
    std::string strPath;
    std::shared_ptr<const std::string> pScript; // instead, a script held in memory, named "stdin"
    bool bContinue = false;                     // go on after a refused batch
    // Everything in one transaction, on one connection, but the batches that cannot run inside one: they run
    // after it committed.
    bool bSingleTransaction = false;
    int nJobs = 1;                // connections that load the rows
    bool bExistingOk = false;     // apply where the database has objects the scripts create
    bool bServerMessages = false; // the server's messages and row counts as records too
    // Everything stays in the database connected to (a scratch database): a folder's database file is left
    // out, and a batch that switches to or changes a database is refused before anything runs.
    bool bStayInDatabase = false;
};

struct TApplyFileInfo {
    std::string strName; // as records name it: its path in the folder, the file given, or "stdin"
    long nBatches = 0;
};

// Hears a run, from the thread of whichever connection a file is on.
class IApplyJobObserver : public IJobObserver {
public:
    // The connections are open on database strDatabase of server strServer (each empty where not known).
    virtual void OnConnected(const std::string& /*strServer*/, const std::string& /*strDatabase*/) {}
    // The files read through, before anything runs; the numbers below index them.
    virtual void OnPlanned(const std::vector<TApplyFileInfo>& /*aFiles*/) {}
    virtual void OnFileStarted(size_t /*nFile*/) {}
    // A batch ran, as often as its GO asks; nRows: the rows its statements affected.
    virtual void OnBatchApplied(size_t /*nFile*/, long /*nRows*/) {}
    virtual void OnFileApplied(size_t /*nFile*/) {}
};

struct TApplyJobResult {
    eJobEnd eEnd = eJobEnd::Done;
    size_t nFiles = 0;    // applied to their end
    long nBatches = 0;    // applied, each once however often its GO repeats it
    long nRows = 0;       // affected, as the server counted them
    long nRefused = 0;    // batches the server refused (bContinue)
    bool bBroken = false; // a refusal, a lost connection or an unreadable file ended the run
    // The scripts are one transaction of their own (a migration), which the run, ended early, rolled back.
    bool bRolledBack = false;
    long nBeforeTransaction = 0; // with bRolledBack: the batches that ran before it began, which stay applied
    bool bCommitted = false;     // the single transaction committed; the run may have stopped after it
};

// Reads every script through, opens the connections (one, or nJobs where there are rows), looks for the
// objects the scripts create that the database has, and applies the batches. A refusal ends the run unless
// bContinue; ShouldStop ends it before the next batch, rolling back the single transaction.
TApplyJobResult ApplyScriptFiles(const TConnectDatabase& connect, const TApplyJobOptions& options,
                                 IApplyJobObserver& observer);
