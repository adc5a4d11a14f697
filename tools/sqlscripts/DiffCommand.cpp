#include "DiffCommand.h"

#include "Interruption.h"
#include "Messages.h"
#include "Notices.h"
#include "scripts/DiffJob.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

// What the user sees of a comparison: each record as a line. Ctrl-C and SIGTERM stop it, and the program
// waits for its scratch databases to be dropped.
class DiffView : public IDiffJobObserver {
public:
    bool ShouldStop() override { return InterruptionSignal() != 0; }
    void OnCancellable() override { CatchInterruptions(); }
    void OnNotice(const TJobNotice& notice) override { Say(NoticeLine(notice)); }
    void OnScratchDatabase(bool pending) override {
        if (pending)
            CleanupBegun();
        else
            CleanupEnded();
    }
};

// "-" is standard output.
TTextOutput OutputOf(const std::string& file) {
    TTextOutput output;
    if (file == "-")
        output.pStream = stdout;
    else
        output.strFile = file;
    return output;
}

// SOURCE_DATE_EPOCH where a build or a test fixes the time a migration says it was written.
std::optional<std::time_t> FixedTime() {
    if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH"))
        return static_cast<std::time_t>(std::strtoll(fixed, nullptr, 10));
    return std::nullopt;
}

TDiffJobOptions DiffJob(const DiffOptions& options) {
    TDiffJobOptions job;
    job.strFrom = options.from;
    job.strTo = options.to;
    job.strShadow = options.shadow;
    if (options.script)
        job.script = OutputOf(*options.script);
    if (options.json)
        job.json = OutputOf(*options.json);
    if (options.script != "-" && options.json != "-")
        job.pLines = stdout;
    job.bDrop = options.drop;
    job.bAllowDataLoss = options.allowDataLoss;
    job.bAllowRebuild = options.allowRebuild;
    job.bRestartSequences = options.restartSequences;
    job.bStrict = options.strict;
    job.bLineFeeds = options.lineEnds == LineEnds::Lf;
    job.bDriftCheck = !options.noCheck;
    job.bTextDiffs = !options.noText;
    job.aDataTables = options.dataTables;
    job.strWrittenBy = "sqlscripts " SQLSCRIPTS_VERSION;
    job.nWrittenAt = FixedTime();
    for (const auto& [kind, text] : options.renames)
        job.aRenames.push_back({kind == "column", text});
    return job;
}

} // namespace

int RunDiff(const DiffOptions& options) {
    if (options.script == "-" && options.json == "-") {
        Say(Tr("--script - and --json - both ask for standard output"));
        return kTrouble;
    }
    for (const auto& rename : options.renames)
        if (rename.first != "table" && rename.first != "column") {
            Say(Format(Tr("--rename %s: give table or column before OLD=NEW"), rename.first.c_str()));
            return kTrouble;
        }
    DiffView view;
    const TDiffJobResult result = DiffDatabases(DiffJob(options), view);
    switch (result.eEnd) {
    case eJobEnd::Done:
        return result.aDifferences.empty() ? kSame : kDifferent;
    case eJobEnd::Stopped:
        Say(Tr("interrupted"));
        return 128 + InterruptionSignal();
    case eJobEnd::Failed:
    case eJobEnd::Misused:
        break;
    }
    return kTrouble;
}
