// What the golden runs cannot show: how many workers run at once, that replace questions never overlap,
// how recordsets share the pool's connections, and the checks that no command line can reach.
#include "export/ExportTestSupport.h"

#include "backend/SnapshotFaults.h"
#include "catalog/Prefetch.h"
#include "catalog/SQLRecObjects.h"
#include "platform/Thread.h"

namespace {

constexpr int YES = 23014;

using CParallelExportTest = CExportTest;

TEST_F(CParallelExportTest, AtMostThreeWorkersRunAtOnce) {
    // A pause before each answer keeps every worker busy until the driver has filled all its slots.
    m_db.OpenEx(("SNAPSHOT=" + Fixture("tiny/snapshot.json") + ";DELAY_US=2000").c_str(),
                CDatabase::noOdbcDialog);
    ResetPeakRunningThreads();
    MakeUnloader(AllCategories())->ExecScriptDataThreads();
    EXPECT_EQ(GetPeakRunningThreads(), 3);
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

TEST_F(CParallelExportTest, ReplaceQuestionsNeverOverlapAndASecondRunWritesNothing) {
    PlaceOldFiles(AllCategories());
    m_answers.Queue(std::deque<int>(13, YES));
    auto pUnloader = MakeUnloader(AllCategories());
    pUnloader->ExecScriptDataThreads();
    EXPECT_EQ(m_answers.Questions().size(), 13u);
    EXPECT_FALSE(m_answers.Overlapped());
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
    // Every category has been claimed once; the same unloader has none left.
    std::filesystem::remove_all(OutDir());
    pUnloader->ExecScriptDataThreads();
    EXPECT_TRUE(std::filesystem::is_empty(OutDir()));
}

// Workers recording at once keep each statement once and whole, so that the recording replays the run.
TEST_F(CParallelExportTest, ARecordingOfAParallelRunReplaysIt) {
    const std::string strRecorded = m_dir.File("recorded.json");
    m_db.OpenEx(
        ("SAVE_SNAPSHOT=" + strRecorded + ";SNAPSHOT=" + Fixture("tiny/snapshot.json") + ";DELAY_US=2000")
            .c_str(),
        CDatabase::noOdbcDialog);
    MakeUnloader(AllCategories())->ExecScriptDataThreads();
    m_db.OpenEx(("SNAPSHOT=" + strRecorded).c_str(), CDatabase::noOdbcDialog);
    std::filesystem::remove_all(OutDir());
    MakeUnloader(AllCategories())->ExecScriptData();
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
    EXPECT_TRUE(Messages().empty());
}

// The pool's connections are opened from the host's connect string; when that no longer opens, the run
// goes on over the host connection.
TEST_F(CParallelExportTest, PoolThatCannotConnectFallsBackToTheHostConnection) {
    const std::string strLink = m_dir.File("catalog.json");
    std::filesystem::create_symlink(Fixture("tiny/snapshot.json"), strLink);
    m_db.OpenEx(("SNAPSHOT=" + strLink).c_str(), CDatabase::noOdbcDialog);
    std::filesystem::remove(strLink);
    MakeUnloader(AllCategories())->ExecScriptDataThreads();
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
    EXPECT_TRUE(Messages().empty());
}

// The families are read by prefetch's helper connection, or, where it cannot open, each by the first
// recordset that needs it, on its own connection; either way once, and the files are the default run's.
TEST_F(CParallelExportTest, PrefetchReadsEachFamilyOnceWithOrWithoutItsHelper) {
    const std::string strLink = m_dir.File("catalog.json");
    std::filesystem::create_symlink(Fixture("prefetch/scripttest.json"), strLink);
    m_db.OpenEx(("SNAPSHOT=" + strLink).c_str(), CDatabase::noOdbcDialog);
    for (const bool bHelper : {true, false}) {
        if (!bHelper)
            std::filesystem::remove(strLink);
        for (const bool bParallel : {false, true}) {
            std::map<std::string, int> sent;
            std::mutex sentLock;
            SetSnapshotStatementObserver([&](const std::string& strSql) {
                const std::lock_guard lock(sentLock);
                ++sent[strSql];
            });
            auto pUnloader = MakeUnloader(AllCategories());
            pUnloader->m_bPrefetch = TRUE;
            bParallel ? pUnloader->ExecScriptDataThreads() : pUnloader->ExecScriptData();
            SetSnapshotStatementObserver(nullptr);
            for (int nCategory = 0; nCategory < 13; ++nCategory)
                EXPECT_EQ(ReadWholeFile(OutFile(nCategory)),
                          ReadWholeFile(SCRIPTS_CASES_DIR "/cli/export-prefetch-same-files/expected/" +
                                        DefaultFileNames()[nCategory]))
                    << DefaultFileNames()[nCategory] << " helper " << bHelper << " parallel " << bParallel;
            for (size_t i = 0; i < PREFETCH_FAMILY_COUNT; ++i)
                EXPECT_LE(sent[GetPrefetchSQL(static_cast<EPrefetchFamily>(i)).Str()], 1) << i;
            EXPECT_LE(sent.size(), 30u);
            EXPECT_TRUE(Messages().empty());
            std::filesystem::remove_all(OutDir());
        }
    }
}

TEST_F(CExportTest, ConnectionPoolGivesEachLiveRecordsetItsOwnConnectionAndReusesFreedOnes) {
    SetConnectionContext(&m_db, true);
    CDatabase* pFirst = nullptr;
    {
        CSQLRecTables rs1;
        CSQLRecTables rs2;
        pFirst = rs1.m_pDatabase;
        EXPECT_NE(pFirst, &m_db);
        EXPECT_NE(rs2.m_pDatabase, pFirst);
        EXPECT_EQ(pFirst->GetQueryTimeout(), 300u);
        EXPECT_EQ(GetPooledConnectionCount(), 2);
    }
    CSQLRecTables rs3;
    EXPECT_EQ(rs3.m_pDatabase, pFirst);
    EXPECT_EQ(GetPooledConnectionCount(), 2);
    CloseAllConnections();
    SetConnectionContext(nullptr, false);
}

TEST_F(CExportTest, ChecksStopTheRunBeforeAnyFile) {
    CDatabase closed;
    CScriptUnloader(closed, nullptr, OutDir().c_str()).ExecScriptDataThreads();
    auto pUnnamed = MakeUnloader({0, 3});
    pUnnamed->m_aFiles[3].strFile.Empty();
    pUnnamed->ExecScriptData();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Не корректное соединение с базой данных",
                                                    "Не указан файл выгрузки"}));
    EXPECT_FALSE(std::filesystem::exists(OutFile(0)));
}

} // namespace
