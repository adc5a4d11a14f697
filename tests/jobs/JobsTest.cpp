// The jobs as a program runs them: what an observer hears of an export (its parts in the order they are
// written, its warnings as records, a stop it asks for), and of an apply (a refusal as a record).
#include "platform/PlatformTestSupport.h"

#include "scripts/ApplyJob.h"
#include "scripts/ExportJobs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Everything it hears, one line each; the catalog's statements counted in one line.
class CRecordingObserver : public IApplyJobObserver, public IExportObserver {
public:
    bool ShouldStop() override { return m_nStopAtStatement > 0 && m_nStatements >= m_nStopAtStatement; }
    void OnStopping() override { m_aEvents.push_back("stopping"); }
    void OnNotice(const TJobNotice& notice) override { m_aNotices.push_back(notice); }
    void OnCatalogRead(size_t nDone, size_t) override { m_nStatements = nDone; }
    void OnCatalogDone(bool bWhole) override {
        m_aEvents.push_back(bWhole ? "catalog read" : "catalog failed");
    }
    void OnPartStarted(int nPart) override { Add("started", nPart); }
    void OnPartSize(int nPart, long nObjects) override { Add("size", nPart, " " + std::to_string(nObjects)); }
    void OnObjectDone(int nPart) override { Add("done", nPart); }
    void OnPartFinished(int nPart, bool bWritten) override {
        Add("finished", nPart, bWritten ? "" : " kept");
    }
    void OnFileApplied(size_t nFile) override { Add("applied", static_cast<int>(nFile)); }

    std::vector<std::string> m_aEvents;
    std::vector<TJobNotice> m_aNotices;
    size_t m_nStopAtStatement = 0;

private:
    void Add(const char* pszWhat, int nPart, const std::string& strMore = "") {
        m_aEvents.push_back(pszWhat + (" " + std::to_string(nPart)) + strMore);
    }

    size_t m_nStatements = 0;
};

TConnectDatabase Snapshot(const std::string& strFixture) {
    return [strFixture](CDatabase& db) {
        return db.OpenEx(("SNAPSHOT=" + FixtureFile(strFixture)).c_str(), CDatabase::noOdbcDialog) != 0;
    };
}

TRecreateExportOptions OrdersWithRows(const std::string& strDir) {
    TRecreateExportOptions options;
    options.strDir = strDir;
    options.aObjects = {"dbo.Orders"};
    options.bData = true;
    return options;
}

TEST(ExportJobTest, TellsEachSectionAsItIsWrittenAndWhatTheSelectionLeavesOut) {
    const CTempDir dir;
    CRecordingObserver observer;
    const TExportResult result =
        ExportRecreate(Snapshot("recreate/recorded-shop.json"), OrdersWithRows(dir.File("out")), observer);
    EXPECT_EQ(result.eEnd, eJobEnd::Done);
    EXPECT_EQ(result.strWrittenTo, dir.File("out"));
    // The rows are read first, under temporary names; each section's files are then written in apply order.
    const std::vector<std::string> aExpected = {
        "catalog read", "started 7",  "size 7 1",   "done 7",    "started 6",  "size 6 1",
        "done 6",       "finished 6", "finished 7", "started 9", "size 9 1",   "done 9",
        "finished 9",   "started 10", "size 10 1",  "done 10",   "finished 10"};
    EXPECT_EQ(observer.m_aEvents, aExpected);
    ASSERT_EQ(observer.m_aNotices.size(), 1u);
    const TJobNotice& leftOut = observer.m_aNotices[0];
    EXPECT_EQ(leftOut.eWhat, eJobNotice::LeftOut);
    ASSERT_EQ(leftOut.aItems.size(), 1u);
    EXPECT_EQ(leftOut.aItems[0].nKind, static_cast<int>(eModelKind::Table));
    EXPECT_EQ(leftOut.aItems[0].strName, "dbo.Customers");
    EXPECT_EQ(ReadWholeFile(dir.File("out/manifest.txt")),
              "06-Tables.sql\n07-Data/dbo.Orders.sql\n09-Indexes.sql\n10-ForeignKeys.sql\n");
}

TEST(ExportJobTest, AStopAskedForWhileTheCatalogIsReadWritesNothing) {
    const CTempDir dir;
    CRecordingObserver observer;
    observer.m_nStopAtStatement = 3;
    const TExportResult result =
        ExportRecreate(Snapshot("recreate/recorded-shop.json"), OrdersWithRows(dir.File("out")), observer);
    EXPECT_EQ(result.eEnd, eJobEnd::Stopped);
    EXPECT_EQ(observer.m_aEvents, (std::vector<std::string>{"catalog failed", "stopping"}));
    EXPECT_TRUE(observer.m_aNotices.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST(ExportJobTest, AnExistingFileIsRefusedWithTheOptionThatAllowsIt) {
    const CTempDir dir;
    std::filesystem::create_directory(dir.File("out"));
    std::ofstream(dir.File("out/09-Indexes.sql")) << "mine";
    CRecordingObserver observer;
    const TExportResult result =
        ExportRecreate(Snapshot("recreate/recorded-shop.json"), OrdersWithRows(dir.File("out")), observer);
    EXPECT_EQ(result.eEnd, eJobEnd::Failed);
    ASSERT_EQ(observer.m_aNotices.size(), 2u);
    const TJobNotice& refusal = observer.m_aNotices[1];
    EXPECT_EQ(refusal.eWhat, eJobNotice::FileExists);
    EXPECT_EQ(refusal.eOption, eJobOption::ReplaceAll);
    EXPECT_EQ(refusal.strSubject, "09-Indexes.sql");
    EXPECT_EQ(ReadWholeFile(dir.File("out/09-Indexes.sql")), "mine");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/06-Tables.sql")));
}

TEST(ExportJobTest, AConnectionLostEndsTheModulesRunWithTheCategoriesBeforeItWritten) {
    const CTempDir dir;
    CRecordingObserver observer;
    CDatabase db;
    // Recorded, the snapshot stands for a live connection, which its seventh statement loses.
    const std::string strConnect = "SAVE_SNAPSHOT=" + dir.File("rec.json") +
                                   ";SNAPSHOT=" + FixtureFile("tiny/snapshot.json") +
                                   ";FAIL_STATEMENT=7;FAIL_SQLSTATE=08S01";
    db.OpenEx(strConnect.c_str(), CDatabase::noOdbcDialog);
    TModuleExportOptions options;
    options.strDir = dir.File("out");
    for (int nCategory = 0; nCategory < SQL_CATEGORY_COUNT; ++nCategory)
        options.aCategories.push_back(nCategory);
    const TExportResult result = ExportModuleScripts(db, options, observer);
    EXPECT_EQ(result.eEnd, eJobEnd::Failed);
    EXPECT_EQ(result.aWritten, (std::vector<int>{eSqlDefaults, eSqlUdt, eSqlTables}));
    ASSERT_EQ(observer.m_aNotices.size(), 1u);
    const TJobNotice& lost = observer.m_aNotices[0];
    EXPECT_EQ(lost.eWhat, eJobNotice::ConnectionLost);
    EXPECT_EQ(lost.nCategory, eSqlPK);
    EXPECT_TRUE(lost.strReason.ends_with("Communication link failure")) << lost.strReason;
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/PK.sql")));
}

// A database file of the SQLite ODBC driver, which knows no catalog views.
TConnectDatabase SqliteFile(const std::string& strPath) {
    return [strPath](CDatabase& db) {
        const std::string strConnect =
            "DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;SyncPragma=OFF;Database=" + strPath;
        return db.OpenEx(strConnect.c_str(), CDatabase::noOdbcDialog) != 0;
    };
}

TEST(ApplyJobTest, RefusalsAreRecordsNamingTheFileTheLineAndTheOptionThatAllowsThem) {
    const CTempDir dir;
    std::ofstream(dir.File("script.sql"))
        << "CREATE TABLE T (x int);\nGO\n\nINSERT INTO Missing (x) VALUES (1);\nGO\n";
    TApplyJobOptions options;
    options.strPath = dir.File("script.sql");
    CRecordingObserver looking;
    const TApplyJobResult unseen = ApplyScriptFiles(SqliteFile(dir.File("target.db")), options, looking);
    EXPECT_EQ(unseen.eEnd, eJobEnd::Failed);
    ASSERT_EQ(looking.m_aNotices.size(), 1u);
    EXPECT_EQ(looking.m_aNotices[0].eWhat, eJobNotice::ExistingUnknown);
    EXPECT_EQ(looking.m_aNotices[0].eOption, eJobOption::ExistingOk);

    options.bExistingOk = true;
    CRecordingObserver applying;
    const TApplyJobResult result = ApplyScriptFiles(SqliteFile(dir.File("target.db")), options, applying);
    EXPECT_EQ(result.eEnd, eJobEnd::Failed);
    EXPECT_TRUE(result.bBroken);
    EXPECT_EQ(result.nBatches, 1);
    ASSERT_EQ(applying.m_aNotices.size(), 1u);
    const TJobNotice& refused = applying.m_aNotices[0];
    EXPECT_EQ(refused.eWhat, eJobNotice::Refused);
    EXPECT_EQ(refused.strSubject, dir.File("script.sql"));
    EXPECT_EQ(refused.nLine, 4);
    EXPECT_EQ(refused.strDetail, "HY000");
    EXPECT_EQ(refused.strReason, "[SQLite]no such table: Missing (1)");
}

} // namespace
