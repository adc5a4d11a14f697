#include "OneMoment.h"

#include "ConnectString.h"
#include "Messages.h"
#include "backend/DbBackend.h"
#include "backend/Snapshot.h"
#include "recreate/DdlText.h"

#include <memory>

namespace {

// ALLOW_SNAPSHOT_ISOLATION is ON when the state is 1; 2 and 3 are on their way off and on.
constexpr const char* kSnapshotState =
    "SELECT DB_NAME() AS name, snapshot_isolation_state FROM sys.databases WHERE database_id = DB_ID()";
constexpr const char* kSnapshotIsolation = "SET TRANSACTION ISOLATION LEVEL SNAPSHOT";
constexpr const char* kBegin = "BEGIN TRANSACTION";

struct DatabaseState {
    std::string name;
    bool allowsSnapshot = false;
};

DatabaseState ReadState(CDbConnection& connection) {
    const std::unique_ptr<CDbResult> result = connection.Execute(kSnapshotState, true);
    const std::optional<TDbRow> row = result->Fetch();
    if (!row || row->size() < 2)
        return {connection.GetDatabaseName(), false};
    return {std::string(*(*row)[0]), *(*row)[1] == "1"};
}

} // namespace

std::optional<Moment> BeginOneMoment(CDatabase& db, bool consistent) {
    CDbConnection& connection = *db.GetBackend();
    if (const CCatalogSnapshot* snapshot = connection.GetSnapshot();
        snapshot && !snapshot->Find(kSnapshotState))
        return Moment::TableByTable;
    try {
        const DatabaseState state = ReadState(connection);
        if (state.allowsSnapshot) {
            connection.Execute(kSnapshotIsolation, true);
            connection.Execute(kBegin, true);
            return Moment::One;
        }
        const std::string option =
            "ALTER DATABASE " + QuoteName(state.name) + " SET ALLOW_SNAPSHOT_ISOLATION ON";
        if (consistent) {
            Say(Format(
                Tr("database %s does not allow snapshot isolation, which --consistent needs to read every "
                   "table as of one moment (%s allows it); nothing was read"),
                state.name.c_str(), option.c_str()));
            return std::nullopt;
        }
        Say(Format(
            Tr("warning: database %s does not allow snapshot isolation: the rows are read table by table, "
               "each as it is when its turn comes, so rows that reference each other may not match (%s lets "
               "them be read as of one moment; with --consistent the run stops instead)"),
            state.name.c_str(), option.c_str()));
        return Moment::TableByTable;
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        Say(Format(Tr("cannot read the rows as of one moment: %s"),
                   OneLine(e->GetErrorText().Str()).c_str()));
        return std::nullopt;
    }
}
