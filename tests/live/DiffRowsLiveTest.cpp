// diff --data-tables against a live server: lookup tables whose rows a copy changed (diff/rows.sql, changed
// by diff/rows-changed.sql) migrated back with an index the copy lacks, in one transaction; the rows then
// alike as the server gives them, a second diff finding nothing; a row that makes a delete fail at run time
// leaves the target as it was.
#include "DiffSupport.h"

namespace {

const std::string kChosen = "dbo.Status,dbo.Country,dbo.Ticket,dbo.Tag";
const std::vector<std::string> kChosenTables = {"[dbo].[Status]", "[dbo].[Country]", "[dbo].[Ticket]",
                                                "[dbo].[Tag]"};

// The chosen tables' rows, as the test's own query reads them.
std::map<std::string, std::multiset<TRow>> ChosenRows(CDatabase& db) {
    const TTableRows all = ReadRows(db);
    std::map<std::string, std::multiset<TRow>> rows;
    for (const std::string& strTable : kChosenTables)
        rows[strTable] = all.at(strTable).rows;
    return rows;
}

TEST(LiveDiff, MigratesTheRowsOfChosenTables) {
    TScratchDatabase original("rows_original"), changed("rows_changed"), failing("rows_failing");
    ASSERT_EQ(Apply(original.db, kDiffDir, {"rows.sql"}), 0);
    for (TScratchDatabase* pDb : {&changed, &failing})
        ASSERT_EQ(Apply(pDb->db, kDiffDir, {"rows.sql", "rows-changed.sql"}), 0);

    const THostRun refused =
        Diff(changed.strName, original.strName, {"--data-tables", kChosen, "--script", "-"});
    EXPECT_EQ(refused.nStatus, 2);
    EXPECT_EQ(refused.strOut, "");
    EXPECT_EQ(refused.strErr,
              "sqlscripts: deleting 1 row of table dbo.Status loses it (--allow-data-loss "
              "deletes it)\nsqlscripts: deleting 1 row of table dbo.Tag loses it "
              "(--allow-data-loss deletes it)\nsqlscripts: deleting 1 row of table dbo.Ticket "
              "loses it (--allow-data-loss deletes it)\n");

    const THostRun diff = Diff(changed.strName, original.strName,
                               {"--data-tables", kChosen, "--allow-data-loss", "--script", "-"});
    ASSERT_EQ(diff.nStatus, 1) << diff.strErr;
    // The table the rows' batches change is checked as FROM had it, though its schema does not change.
    EXPECT_NE(diff.strOut.find(", table dbo.Tag'"), std::string::npos) << diff.strOut;

    // A ticket of the retired status, added after the diff: the status's delete fails on its foreign key
    // (547), which apply (reading every answer of a batch) names, and nothing changes.
    RunSql(failing.db, "INSERT INTO dbo.Ticket (StatusId, Title) VALUES (4, 'late')");
    const auto before = ChosenRows(failing.db);
    const CTempDir dir;
    WriteWholeFile(dir.File("migration.sql"), diff.strOut);
    const THostRun apply =
        RunHost({"apply", dir.File("migration.sql"), "--connect", ConnectTo(failing.strName)}, dir.File(""));
    EXPECT_EQ(apply.nStatus, 1) << apply.strErr;
    EXPECT_NE(apply.strErr.find("native error 547"), std::string::npos) << apply.strErr;
    EXPECT_EQ(ChosenRows(failing.db), before);
    ExpectAlike(changed.strName, failing.strName);

    for (const auto& [strStatement, strAnswer] : RunBatches(changed.db, Batches(diff.strOut)))
        ADD_FAILURE() << "refused: " << strAnswer << "\n" << strStatement;
    ExpectAlike(original.strName, changed.strName);
    EXPECT_EQ(ChosenRows(changed.db), ChosenRows(original.db));
    const THostRun again = Diff(changed.strName, original.strName, {"--data-tables", kChosen});
    EXPECT_EQ(again.nStatus, 0) << again.strOut << again.strErr;
    EXPECT_EQ(again.strOut, "");
}

// A chosen table without a key is refused, naming it, before anything is written.
TEST(LiveDiff, RowsOfATableWithoutKeyAreRefused) {
    TScratchDatabase original("rows_keyless");
    ASSERT_EQ(Apply(original.db, kDiffDir, {"rows.sql"}), 0);
    const THostRun diff = Diff(original.strName, original.strName, {"--data-tables", "dbo.Log"});
    EXPECT_EQ(diff.nStatus, 2);
    EXPECT_EQ(
        diff.strErr,
        "sqlscripts: rows of dbo.Log: the table has neither a primary key nor a unique index to match its "
        "rows by\n");
}

} // namespace
