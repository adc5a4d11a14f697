#include "Session.h"

#include "ConnectString.h"
#include "Messages.h"
#include "backend/ConnectSecrets.h"
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "catalog/Prefetch.h"
#include "jobs/JobFiles.h"
#include "platform/Exceptions.h"
#include "platform/File.h"

#include <filesystem>

namespace {

// Seconds a login may take without --timeout: long enough for a server across the world, short enough not to
// look like a hang.
constexpr int kDefaultLoginTimeout = 30;

// The folder of --save-snapshot is made as --dir's is, and what a recording that ended early left beside the
// file goes; false after saying why the folder cannot be made.
bool PrepareRecording(const std::string& file) {
    const std::string folder = std::filesystem::path(file).parent_path().string();
    if (const int error = folder.empty() ? 0 : MakeFolder(folder)) {
        Say(Format(Tr("cannot create the folder %s: %s"), folder.c_str(), SystemReason(error).c_str()));
        return false;
    }
    if (const size_t count = RemoveStaleTemporaryFilesOf(file.c_str()))
        Say(Format(TrN("removed %zu temporary file that a run which ended early left beside %s",
                       "removed %zu temporary files that runs which ended early left beside %s", count),
                   count, file.c_str()));
    return true;
}

bool HoldsPrefetchStatements(const CCatalogSnapshot& snapshot) {
    for (size_t family = 0; family < PREFETCH_FAMILY_COUNT; ++family)
        if (!snapshot.Find(GetPrefetchSQL(static_cast<EPrefetchFamily>(family)).Str()))
            return false;
    return true;
}

} // namespace

bool Connect(CDatabase& db, const Source& source) {
    if (!source.saveSnapshot.empty() && !PrepareRecording(source.saveSnapshot))
        return false;
    try {
        SetDbTimeouts({static_cast<DWORD>(source.timeout.value_or(kDefaultLoginTimeout)),
                       static_cast<DWORD>(source.timeout.value_or(0))});
        db.OpenEx(source.ConnectString().c_str(), CDatabase::noOdbcDialog);
        const CCatalogSnapshot* snapshot = db.GetBackend()->GetSnapshot();
        if (snapshot && !snapshot->GetCutShort().empty())
            Say(Format(
                Tr("warning: the recording of catalog snapshot %s was cut short (%s): statements asked "
                   "after that are not in it"),
                snapshot->GetPath().c_str(), snapshot->GetCutShort().c_str()));
        return true;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        const std::string reason = OneLine(HideConnectSecrets(e->GetErrorText().Str(), source.connect));
        if (dynamic_cast<CFileException*>(e))
            Say(Format(Tr("cannot record the snapshot: %s"), reason.c_str()));
        else
            Say(source.snapshot.empty() ? Format(Tr("cannot connect: %s"), reason.c_str()) : reason);
        return false;
    }
}

std::optional<PrefetchChoice> ConnectForExport(CDatabase& db, const Source& source, Prefetch choice) {
    if (!Connect(db, source))
        return std::nullopt;
    const CCatalogSnapshot* snapshot = db.GetBackend()->GetSnapshot();
    if (!snapshot)
        return PrefetchChoice{choice != Prefetch::Off};
    const bool holds = HoldsPrefetchStatements(*snapshot);
    if (choice == Prefetch::On && !holds) {
        Say(Format(Tr("catalog snapshot %s does not hold the prefetch statements (it was recorded with "
                      "--no-prefetch); replay it without --prefetch"),
                   snapshot->GetPath().c_str()));
        return std::nullopt;
    }
    return PrefetchChoice{choice != Prefetch::Off && holds, choice == Prefetch::Off && holds};
}
