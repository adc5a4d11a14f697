#include "jobs/OneMoment.h"

#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "platform/Exceptions.h"
#include "recreate/DdlText.h"

#include <memory>

namespace {

// ALLOW_SNAPSHOT_ISOLATION is ON when the state is 1; 2 and 3 are on their way off and on.
constexpr const char* kSnapshotState =
    "SELECT DB_NAME() AS name, snapshot_isolation_state FROM sys.databases WHERE database_id = DB_ID()";
constexpr const char* kSnapshotIsolation = "SET TRANSACTION ISOLATION LEVEL SNAPSHOT";
constexpr const char* kBegin = "BEGIN TRANSACTION";

struct TDatabaseState {
    std::string strName;
    bool bAllowsSnapshot = false;
};

TDatabaseState ReadState(CDbConnection& connection) {
    const std::unique_ptr<CDbResult> result = connection.Execute(kSnapshotState, true);
    const std::optional<TDbRow> row = result->Fetch();
    if (!row || row->size() < 2)
        return {connection.GetDatabaseName(), false};
    return {std::string(*(*row)[0]), *(*row)[1] == "1"};
}

} // namespace

std::optional<eMoment> BeginOneMoment(CDatabase& db, bool bConsistent, IJobObserver& observer) {
    CDbConnection& connection = *db.GetBackend();
    if (const CCatalogSnapshot* pSnapshot = connection.GetSnapshot();
        pSnapshot && !pSnapshot->Find(kSnapshotState))
        return eMoment::TableByTable;
    try {
        const TDatabaseState state = ReadState(connection);
        if (state.bAllowsSnapshot) {
            connection.Execute(kSnapshotIsolation, true);
            connection.Execute(kBegin, true);
            return eMoment::One;
        }
        TJobNotice notice{bConsistent ? eJobNotice::NoOneMomentAtAll : eJobNotice::NoOneMoment};
        notice.eOption = eJobOption::Consistent;
        notice.strSubject = state.strName;
        notice.strDetail = "ALTER DATABASE " + QuoteName(state.strName) + " SET ALLOW_SNAPSHOT_ISOLATION ON";
        observer.OnNotice(notice);
        return bConsistent ? std::nullopt : std::optional(eMoment::TableByTable);
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        TJobNotice notice{eJobNotice::OneMomentUnreadable};
        notice.strReason = e->GetErrorText().Str();
        observer.OnNotice(notice);
        return std::nullopt;
    }
}
