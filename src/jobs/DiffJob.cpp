// diff as a job: both sides loaded at once, their records told in order, the migration planned and written
// as the options ask.
#include "scripts/DiffJob.h"

#include "apply/ScriptPlan.h"
#include "jobs/DiffRenames.h"
#include "jobs/DiffRows.h"
#include "jobs/DiffSides.h"
#include "jobs/DiffTexts.h"
#include "jobs/JobFiles.h"
#include "platform/File.h"
#include "recreate/DdlText.h"

#include <chrono>
#include <thread>

namespace {

// The text into the program's stream, or into the file, replaced.
void Emit(const TTextOutput& output, const std::string& strText) {
    if (output.pStream) {
        std::fwrite(strText.data(), 1, strText.size(), output.pStream);
        return;
    }
    WritingFile(output.strFile,
                [&] { WriteFileReplacing(output.strFile.c_str(), strText.data(), strText.size()); });
}

std::string WrittenAt(const std::optional<std::time_t>& nAt) {
    const std::time_t nTime =
        nAt.value_or(std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()));
    char szText[32];
    std::strftime(szText, sizeof szText, "%Y-%m-%d %H:%M:%S UTC", std::gmtime(&nTime));
    return szText;
}

TMigrationOptions MigrationOptions(const TDiffJobOptions& options, const TLoadedSide& from,
                                   const TLoadedSide& to, CRenames renames) {
    TMigrationOptions migration;
    migration.renames = std::move(renames);
    migration.bDrop = options.bDrop;
    migration.bAllowDataLoss = options.bAllowDataLoss;
    migration.bAllowRebuild = options.bAllowRebuild;
    migration.bRestartSequences = options.bRestartSequences;
    migration.fromHashes = from.hashes;
    migration.dialect = from.dialect.value_or(to.dialect.value_or(TServerDialect()));
    migration.aHeader = {std::string(kMigrationFirstWords.substr(3)) + options.strWrittenBy + " at " +
                             WrittenAt(options.nWrittenAt),
                         "From: " + DescribeSide(DiffSideOf(options.strFrom)),
                         "To:   " + DescribeSide(DiffSideOf(options.strTo))};
    return migration;
}

TDiffJobResult Ended(eJobEnd eEnd) {
    TDiffJobResult result;
    result.eEnd = eEnd;
    return result;
}

// The tables and columns that look renamed, among those only one side has.
std::string Hints(const std::vector<TMigrationItem>& aItems) {
    std::vector<const TModelDifference*> aDifferences;
    for (const TMigrationItem& item : aItems)
        if (item.pDifference)
            aDifferences.push_back(item.pDifference);
    return RenameHints(aDifferences);
}

// The migration from one side's model to the other's, with the rows of the tables chosen, written as the
// options ask.
TDiffJobResult Migrate(const TDiffJobOptions& options, const TLoadedSide& from, const TLoadedSide& to,
                       IDiffJobObserver& observer) {
    TDiffJobResult result;
    TRenameCheck renames = CheckRenames(ParseRenames(options.aRenames).aRenames, from.model, to.model);
    if (const std::optional<TJobNotice> misuse = RenameMisuse(renames, options.aRenames)) {
        observer.OnNotice(*misuse);
        result.eEnd = eJobEnd::Misused;
        return result;
    }
    TRowsCompared rows;
    if (!options.aDataTables.empty()) {
        std::optional<TRowsCompared> compared = CompareChosenRows(options.aDataTables, from, to, observer);
        if (!compared)
            return Ended(eJobEnd::Failed);
        rows = std::move(*compared);
    }
    TMigrationOptions migration = MigrationOptions(options, from, to, std::move(renames.renames));
    {
        // The rows' statements are text already, with the script's line ends.
        const CLineFeedScope lineEnds(options.bLineFeeds);
        AddRowChanges(migration, rows);
    }
    const CMigration plan(from.model, to.model, std::move(migration));
    result.aDifferences = DiffEntries(plan.Items());
    result.aDifferences.insert(result.aDifferences.end(), rows.aEntries.begin(), rows.aEntries.end());
    std::vector<TRefusal> aRefusals = plan.Refusals(), aWarnings = plan.Warnings();
    std::vector<TRefusal>& aLosses = options.bAllowDataLoss ? aWarnings : aRefusals;
    aLosses.insert(aLosses.end(), rows.aLosses.begin(), rows.aLosses.end());
    if (options.json)
        Emit(*options.json, DiffJson(result.aDifferences, aRefusals));
    if (options.script && !aRefusals.empty()) {
        for (const TRefusal& refusal : aRefusals)
            observer.OnNotice(RefusalNotice(refusal));
        result.eEnd = eJobEnd::Failed;
        return result;
    }
    if (options.script) {
        const CLineFeedScope lineEnds(options.bLineFeeds);
        for (const TRefusal& loss : aWarnings)
            observer.OnNotice(LossNotice(loss));
        Emit(*options.script, plan.Script());
    }
    if (options.pLines) {
        const std::string strLines = DiffLines(result.aDifferences, options.bTextDiffs) + Hints(plan.Items());
        std::fwrite(strLines.data(), 1, strLines.size(), options.pLines);
    }
    return result;
}

// A folder needs a server to be applied to; an argument that holds no '=' is a mistyped path rather than a
// connect string, which a driver would only answer with "data source not found".
std::optional<TJobNotice> SideMisuse(const TDiffSide& side, const TDiffJobOptions& options) {
    if (side.eKind == eDiffSide::Server && IsMistypedPath(side.strArgument))
        return TJobNotice(eJobNotice::NoSuchSide, side.strArgument);
    if (side.eKind == eDiffSide::Folder && !options.aDataTables.empty()) {
        TJobNotice notice(eJobNotice::RowsOfFolder, side.strArgument);
        notice.eOption = eJobOption::DataTables;
        return notice;
    }
    if (side.eKind != eDiffSide::Folder || !options.strShadow.empty())
        return std::nullopt;
    TJobNotice notice(eJobNotice::FolderWithoutShadow, side.strArgument);
    notice.eOption = eJobOption::Shadow;
    return notice;
}

} // namespace

TDiffJobResult DiffDatabases(const TDiffJobOptions& options, IDiffJobObserver& observer) {
    const TDiffSide fromSide = DiffSideOf(options.strFrom), toSide = DiffSideOf(options.strTo);
    for (const TDiffSide& side : {fromSide, toSide})
        if (const std::optional<TJobNotice> misuse = SideMisuse(side, options)) {
            observer.OnNotice(*misuse);
            return Ended(eJobEnd::Misused);
        }
    if (const std::optional<TJobNotice> misuse = ParseRenames(options.aRenames).misuse) {
        observer.OnNotice(*misuse);
        return Ended(eJobEnd::Misused);
    }
    observer.OnCancellable();
    // FROM's records first, and none of TO's when FROM failed.
    const auto onScratch = [&observer](bool bPending) { observer.OnScratchDatabase(bPending); };
    // The hashes cost the server a pass over every module's text: read only for a script that checks them.
    const bool bHashes = options.script && options.bDriftCheck;
    const bool bRows = !options.aDataTables.empty();
    CSideLoading loadingFrom(fromSide, options.strShadow, 1, options.bStrict, bHashes, bRows, observer,
                             onScratch),
        loadingTo(toSide, options.strShadow, 2, options.bStrict, false, bRows, observer, onScratch);
    const auto failed = [&observer] {
        return Ended(observer.ShouldStop() ? eJobEnd::Stopped : eJobEnd::Failed);
    };
    std::optional<TLoadedSide> from = loadingFrom.Told();
    if (!from)
        return failed();
    std::optional<TLoadedSide> to = loadingTo.Told();
    if (!to)
        return failed();
    TDiffJobResult result;
    try {
        result = Migrate(options, *from, *to, observer);
    } catch (const CModelError& e) {
        observer.OnNotice(NoticeOf(e));
        result = Ended(eJobEnd::Failed);
    }
    // The models are let go at once, FROM's on a thread of its own: at 10,000 tables, one after the other
    // took a tenth of the run.
    std::thread letGo([model = std::move(from)] {});
    to.reset();
    letGo.join();
    return result;
}
