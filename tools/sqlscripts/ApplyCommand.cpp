#include "ApplyCommand.h"

#include "ApplyReport.h"
#include "Interruption.h"
#include "Messages.h"
#include "Notices.h"
#include "scripts/ApplyJob.h"

#include <cstdio>
#include <memory>

namespace {

std::shared_ptr<const std::string> ReadStandardInput() {
    auto text = std::make_shared<std::string>();
    char buffer[1 << 16];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
        text->append(buffer, read);
    return text;
}

std::string FilesAndBatches(const TApplyJobResult& result) {
    const auto files = static_cast<unsigned long>(result.nFiles);
    const auto batches = static_cast<unsigned long>(result.nBatches);
    return Format(TrN("%lu file", "%lu files", files), files) + ", " +
           Format(TrN("%lu batch", "%lu batches", batches), batches);
}

// What a run that ended early left applied.
std::string Applied(const ApplyOptions& options, const TApplyJobResult& result) {
    if (options.singleTransaction && !result.bCommitted)
        return Tr("the transaction was rolled back: nothing applied");
    if (!result.bRolledBack)
        return Format(Tr("applied before it: %s"), FilesAndBatches(result).c_str());
    if (result.nBeforeTransaction == 0)
        return Tr("rolled back: the database is as it was");
    const auto before = static_cast<unsigned long>(result.nBeforeTransaction);
    return Format(TrN("rolled back: the database is as it was but for the %lu batch before the transaction",
                      "rolled back: the database is as it was but for the %lu batches before the transaction",
                      before),
                  before);
}

// Says how the run ended, naming the database it applied to where it is known; the exit status.
int Conclude(const ApplyOptions& options, const TApplyJobResult& result, const ApplyReport& report) {
    if (result.eEnd == eJobEnd::Misused)
        return kExitUsage;
    if (result.eEnd == eJobEnd::Stopped || result.bBroken) {
        const std::string applied = Applied(options, result);
        if (result.eEnd != eJobEnd::Stopped && result.bRolledBack) {
            Say(applied);
            return kExitFailed;
        }
        if (result.eEnd != eJobEnd::Stopped) {
            Say(Format(Tr("stopped; %s"), applied.c_str()));
            return kExitFailed;
        }
        Say(Format(Tr("interrupted; %s"), applied.c_str()));
        return 128 + InterruptionSignal();
    }
    // What ended the job before anything ran was said already.
    if (result.eEnd == eJobEnd::Failed && result.nRefused == 0)
        return kExitFailed;
    const auto rows = static_cast<unsigned long>(result.nRows);
    const std::string applied =
        FilesAndBatches(result) + ", " + Format(TrN("%lu row", "%lu rows", rows), rows);
    if (!options.quiet)
        Say(report.Target().empty() ? Format(Tr("applied %s in %.1f s"), applied.c_str(), report.Seconds())
                                    : Format(Tr("applied %s to %s in %.1f s"), applied.c_str(),
                                             report.Target().c_str(), report.Seconds()));
    if (result.nRefused == 0)
        return kExitOk;
    const auto refused = static_cast<unsigned long>(result.nRefused);
    Say(Format(TrN("%lu batch refused", "%lu batches refused", refused), refused));
    return kExitFailed;
}

} // namespace

int RunApply(const ApplyOptions& options, const std::string& connectString, const ApplyConnect& connect) {
    if (IsMistypedPath(connectString)) {
        Say(NoticeLine(TJobNotice(eJobNotice::NoSuchSide, connectString)));
        return kExitUsage;
    }
    TApplyJobOptions job;
    job.strPath = options.path;
    if (options.path == "-")
        job.pScript = ReadStandardInput();
    job.bContinue = options.keepGoing;
    job.bSingleTransaction = options.singleTransaction;
    job.nJobs = options.jobs;
    job.bExistingOk = options.existing == Existing::Ok;
    job.bServerMessages = options.verbose;
    ApplyReport report(Progress::ModeFor(options.quiet, options.progress));
    const TApplyJobResult result = ApplyScriptFiles(connect, job, report);
    report.Clear();
    return Conclude(options, result, report);
}
