// diff --rename against a live server: tables and a column renamed (diff/renames.sql, and
// diff/renames-renamed.sql made anew under the new names), migrated with their rows; a failure right after
// the renames leaves the target as it was.
#include "DiffSupport.h"

namespace {

const std::vector<std::string> kRenames = {"--rename", "table",  "orders=sales",
                                           "--rename", "column", "orders.amount=price",
                                           "--rename", "table",  "[dbo].[customers]=clients"};

// The script with a batch that fails put right after its last rename.
std::string FailingAfterRenames(const std::string& strScript) {
    std::string strFailing;
    for (const std::string& strBatch : Batches(strScript)) {
        strFailing += strBatch + "\nGO\n";
        if (strBatch.find("N'clients', N'OBJECT'") != std::string::npos)
            strFailing += "SELECT 1 / 0;\nGO\n";
    }
    return strFailing;
}

// The rows read before the migration, under the names it gives.
TTableRows Renamed(TTableRows rows) {
    TTableRows renamed;
    renamed["[dbo].[clients]"] = rows.at("[dbo].[customers]");
    TTable& sales = renamed["[dbo].[sales]"] = rows.at("[dbo].[orders]");
    sales.columns["price"] = sales.columns.at("amount");
    sales.columns.erase("amount");
    std::multiset<TRow> aRows;
    for (TRow row : sales.rows) {
        row["price"] = row.at("amount");
        row.erase("amount");
        aRows.insert(std::move(row));
    }
    sales.rows = std::move(aRows);
    return renamed;
}

TEST(LiveDiffRenames, RenamesTablesAndAColumnWithTheirRows) {
    TScratchDatabase from("renames_from"), to("renames_to"), failing("renames_failing");
    for (TScratchDatabase* pDb : {&from, &failing})
        ASSERT_EQ(Apply(pDb->db, kDiffDir, {"renames.sql"}), 0);
    ASSERT_EQ(Apply(to.db, kDiffDir, {"renames-renamed.sql"}), 0);

    const THostRun hinted = Diff(from.strName, to.strName, {});
    EXPECT_NE(hinted.strOut.find("\n? dbo.customers -> dbo.clients looks like a rename: --rename table "
                                 "dbo.customers=clients\n"),
              std::string::npos)
        << hinted.strOut;

    std::vector<std::string> aOptions = kRenames;
    aOptions.insert(aOptions.end(), {"--script", "-"});
    const THostRun diff = Diff(from.strName, to.strName, aOptions);
    ASSERT_EQ(diff.nStatus, 1) << diff.strErr;
    const TRefusals aFailed = RunBatches(failing.db, Batches(FailingAfterRenames(diff.strOut)));
    ASSERT_FALSE(aFailed.empty());
    EXPECT_NE(aFailed.front().second.find("zero"), std::string::npos) << aFailed.front().second;
    ExpectAlike(from.strName, failing.strName);

    const TTableRows before = ReadRows(from.db);
    for (const auto& [strStatement, strAnswer] : RunBatches(from.db, Batches(diff.strOut)))
        ADD_FAILURE() << "refused: " << strAnswer << "\n" << strStatement;
    ExpectAlike(to.strName, from.strName, {"column.position"});
    const THostRun again = Diff(from.strName, to.strName, {});
    EXPECT_EQ(again.nStatus, 0) << "a second diff still finds:\n" << again.strOut << again.strErr;
    const TTableRows after = ReadRows(from.db);
    EXPECT_EQ(after.at("[dbo].[sales]").rows.size(), 3u);
    ExpectRowsKept(Renamed(before), after);
}

} // namespace
