#include "Session.h"

#include "Messages.h"
#include "Notices.h"
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "catalog/Prefetch.h"
#include "jobs/DatabaseSource.h"

namespace {

bool HoldsPrefetchStatements(const CCatalogSnapshot& snapshot) {
    for (size_t family = 0; family < PREFETCH_FAMILY_COUNT; ++family)
        if (!snapshot.Find(GetPrefetchSQL(static_cast<EPrefetchFamily>(family)).Str()))
            return false;
    return true;
}

} // namespace

bool Connect(CDatabase& db, const Source& source) {
    SayNotices notices;
    return OpenDatabase(db, {source.connect, source.snapshot, source.saveSnapshot, source.timeout}, notices);
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
