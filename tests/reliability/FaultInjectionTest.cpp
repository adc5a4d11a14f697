// Every catalog statement of a whole export in turn fails, as a server error (42000) and as a lost
// connection (08S01), sequential and parallel: the category that sent it keeps only the batches around its
// object list (tiny/expected-when-a-statement-fails), every other is written in full, one message names
// the error, and no connection stays pooled.
#include "platform/PlatformTestSupport.h"

#include "backend/SnapshotFaults.h"
#include "catalog/ConnectionContext.h"
#include "export/CategoryTable.h"
#include "scripts/ScriptUnloader.h"
#include "ui/Ui.h"

#include <map>
#include <mutex>
#include <set>

namespace {

// One export run, with the statements it sent and the number of files already written when each was
// sent (in a sequential run: the category that sent it).
struct TRun {
    std::vector<std::string> aFiles, aMessages, aStatements;
    std::vector<int> aCategories;
};

class CFaultInjectionTest : public testing::TestWithParam<std::tuple<bool, const char*>> {
protected:
    TRun Run(const std::string& strOptions, bool bParallel) {
        const std::string strOut = m_dir.File("out" + std::to_string(++m_nRuns));
        TRun run;
        std::mutex mutex;
        SetSnapshotStatementObserver([&](const std::string& strSql) {
            std::lock_guard lock(mutex);
            run.aStatements.push_back(strSql);
            run.aCategories.push_back(static_cast<int>(std::distance(
                std::filesystem::directory_iterator(strOut), std::filesystem::directory_iterator())));
        });
        CHeadlessUiBackend ui;
        AfxSetUiBackend(&ui);
        ResetDefinitionLengthForTesting();
        {
            CDatabase db;
            db.OpenEx(("SNAPSHOT=" + FixtureFile("tiny/snapshot.json") + strOptions).c_str());
            CScriptUnloader unloader(db, nullptr, strOut.c_str());
            for (int nCategory = 0; nCategory < SQL_CATEGORY_COUNT; ++nCategory)
                unloader.m_aFiles[nCategory] = {1, g_aCategories[nCategory].pszDefaultFile};
            bParallel ? unloader.ExecScriptDataThreads() : unloader.ExecScriptData();
            EXPECT_EQ(GetPooledConnectionCount(), 0);
        }
        SetSnapshotStatementObserver(nullptr);
        AfxSetUiBackend(nullptr);
        for (const TCategory& category : g_aCategories)
            run.aFiles.push_back(ReadWholeFile(strOut + "/" + category.pszDefaultFile));
        for (const TUiMessage& message : ui.GetMessages())
            run.aMessages.push_back(message.strText.Str());
        return run;
    }

    CTempDir m_dir;
    int m_nRuns = 0;
};

TEST_P(CFaultInjectionTest, EachFailingStatementEmptiesOnlyItsCategory) {
    const auto [bParallel, pszSqlState] = GetParam();
    const std::string strReport =
        std::string("Ошибка создания скрипта. ") +
        (pszSqlState == std::string("42000") ? "Injected server error" : "Communication link failure");
    const TRun base = Run("", bParallel);
    ASSERT_TRUE(base.aMessages.empty()) << base.aMessages.front();
    std::map<std::string, std::set<int>> categoriesOf;
    const TRun sequential = Run("", false);
    for (size_t i = 0; i < sequential.aStatements.size(); ++i)
        categoriesOf[sequential.aStatements[i]].insert(sequential.aCategories[i]);

    // A parallel run may probe the definition length more than once, so it may send a few more statements.
    for (size_t nPosition = 1; nPosition <= base.aStatements.size() + (bParallel ? 3 : 0); ++nPosition) {
        const TRun run =
            Run(";FAIL_STATEMENT=" + std::to_string(nPosition) + ";FAIL_SQLSTATE=" + pszSqlState, bParallel);
        SCOPED_TRACE("statement " + std::to_string(nPosition));
        const bool bReached = run.aStatements.size() >= nPosition;
        // A failed probe of the definition length is not reported; it falls back to 256, enough here.
        if (!bReached || run.aStatements[nPosition - 1].starts_with("SELECT MAX(DATALENGTH(")) {
            EXPECT_TRUE(bReached || bParallel) << "a sequential run sends the same statements every time";
            EXPECT_TRUE(run.aMessages.empty());
            EXPECT_EQ(run.aFiles, base.aFiles);
            continue;
        }
        const std::string& strFailed = run.aStatements[nPosition - 1];
        EXPECT_EQ(run.aMessages, std::vector<std::string>{strReport}) << strFailed;
        const std::set<int> candidates =
            bParallel ? categoriesOf[strFailed] : std::set<int>{run.aCategories[nPosition - 1]};
        ASSERT_FALSE(candidates.empty()) << strFailed;
        for (int nCategory = 0; nCategory < SQL_CATEGORY_COUNT; ++nCategory) {
            const std::string strName = g_aCategories[nCategory].pszDefaultFile;
            const bool bWhole = run.aFiles[nCategory] == base.aFiles[nCategory];
            const bool bEmptied =
                run.aFiles[nCategory] ==
                ReadWholeFile(FixtureFile("tiny/expected-when-a-statement-fails/" + strName));
            EXPECT_TRUE(!candidates.contains(nCategory) ? bWhole
                        : candidates.size() == 1        ? bEmptied
                                                        : bWhole || bEmptied)
                << strName << " after " << strFailed;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, CFaultInjectionTest,
                         testing::Combine(testing::Bool(), testing::Values("42000", "08S01")),
                         [](const auto& info) {
                             return (std::get<0>(info.param) ? "Parallel" : "Sequential") +
                                    std::string(std::get<1>(info.param));
                         });

} // namespace
