// A full export with every catalog statement in turn failing: as a server error and as a lost connection.
#include "export/ExportTestSupport.h"

#include "backend/SnapshotFaults.h"

#include <set>

namespace {

// What a category's file holds when one of its catalog statements fails: the batches around the object
// list, written out from the templates; the list itself is empty.
const std::string kFailureTexts[13] = {
    "SET QUOTED_IDENTIFIER OFF \r\nGO \r\n\r\n\r\nSET QUOTED_IDENTIFIER ON \r\nGO \r\n", // Defaults
    "",                                                                                  // Udt
    "SET NOCOUNT ON\r\nGO\r\n\r\n\r\nSET NOCOUNT OFF\r\nGO\r\n",                         // Tables
    "",                                                                                  // PK
    "",                                                                                  // FK
    "",                                                                                  // FullText
    "",                                                                                  // Schemas
    "SET QUOTED_IDENTIFIER ON\r\nSET ANSI_NULLS ON\r\nGO\r\n",                           // Views
    "SET QUOTED_IDENTIFIER ON\r\nSET ANSI_NULLS ON\r\nGO\r\n",                           // Triggers
    "SET QUOTED_IDENTIFIER ON\r\nSET ANSI_NULLS ON\r\nGO\r\n",                           // StoredProc
    "",                                                                                  // Indexes
    "",                                                                                  // Checks
    "SET QUOTED_IDENTIFIER ON\r\nSET ANSI_NULLS ON\r\nGO\r\n",                           // Udf
};

struct TFaultCase {
    const char* pszFixture;
    bool bParallel;
    const char* pszSqlState;
    const char* pszMessage; // the injected error as the report shows it
};

void PrintTo(const TFaultCase& c, std::ostream* pOut) {
    *pOut << c.pszFixture << (c.bParallel ? " Parallel " : " Sequential ") << c.pszSqlState;
}

// One export run over a snapshot, with the statements it sent and, meaningful for a sequential run only,
// the category that sent each (the number of files already written when it was sent).
struct TExportRun {
    std::vector<std::string> aFiles = std::vector<std::string>(13);
    std::vector<std::string> aMessages;
    std::vector<std::string> aStatements;
    std::vector<int> aCategories;
    int nPooledAfter = -1;
};

class CFaultInjectionTest : public testing::TestWithParam<TFaultCase> {
protected:
    void SetUp() override { AfxSetUiBackend(&m_ui); }
    void TearDown() override {
        SetSnapshotStatementObserver(nullptr);
        AfxSetUiBackend(nullptr);
    }

    TExportRun Run(const std::string& strOptions, bool bParallel) {
        TExportRun run;
        const std::string strOut = m_dir.File("out" + std::to_string(++m_nRuns));
        std::mutex mutex;
        SetSnapshotStatementObserver([&](const std::string& strSql) {
            std::lock_guard lock(mutex);
            run.aStatements.push_back(strSql);
            run.aCategories.push_back(static_cast<int>(std::distance(
                std::filesystem::directory_iterator(strOut), std::filesystem::directory_iterator())));
        });
        m_ui.ClearMessages();
        ResetDefinitionLengthForTesting();
        {
            CDatabase db;
            db.OpenEx(("SNAPSHOT=" + Fixture() + strOptions).c_str(), CDatabase::noOdbcDialog);
            CScriptUnloader unloader(db, nullptr, strOut.c_str());
            for (int nCategory = 0; nCategory < 13; ++nCategory)
                unloader.m_aFiles[nCategory] = {1, DefaultFileNames()[nCategory].c_str()};
            if (bParallel)
                unloader.ExecScriptDataThreads();
            else
                unloader.ExecScriptData();
            run.nPooledAfter = GetPooledConnectionCount();
        }
        SetSnapshotStatementObserver(nullptr);
        for (int nCategory = 0; nCategory < 13; ++nCategory)
            run.aFiles[nCategory] = ReadWholeFile(strOut + "/" + DefaultFileNames()[nCategory]);
        for (const TUiMessage& message : m_ui.GetMessages())
            run.aMessages.push_back(message.strText.Str());
        return run;
    }

    std::string Fixture() const { return std::string(SCRIPTS_FIXTURES_DIR) + "/" + GetParam().pszFixture; }

    CTempDir m_dir;
    CHeadlessUiBackend m_ui;
    int m_nRuns = 0;
};

// The categories that sent each statement text in a sequential run.
std::map<std::string, std::set<int>> CategoriesByStatement(const TExportRun& run) {
    std::map<std::string, std::set<int>> categories;
    for (size_t i = 0; i < run.aStatements.size(); ++i)
        categories[run.aStatements[i]].insert(run.aCategories[i]);
    return categories;
}

bool IsDefinitionLengthProbe(const std::string& strSql) {
    return strSql.starts_with("SELECT MAX(DATALENGTH(");
}

TEST_P(CFaultInjectionTest, EachFailingStatementEmptiesOnlyItsCategory) {
    const TFaultCase& c = GetParam();
    const TExportRun base = Run("", c.bParallel);
    ASSERT_TRUE(base.aMessages.empty()) << base.aMessages.front();
    ASSERT_FALSE(base.aStatements.empty());
    const std::map<std::string, std::set<int>> categoriesOf = CategoriesByStatement(Run("", false));
    const std::string strReport = std::string("Ошибка создания скрипта. ") + c.pszMessage;

    // A parallel run may probe the definition length more than once, so it may send a few more statements.
    const size_t nPositions = base.aStatements.size() + (c.bParallel ? 3 : 0);
    for (size_t nPosition = 1; nPosition <= nPositions; ++nPosition) {
        SCOPED_TRACE("statement " + std::to_string(nPosition));
        const TExportRun run = Run(
            ";FAIL_STATEMENT=" + std::to_string(nPosition) + ";FAIL_SQLSTATE=" + c.pszSqlState, c.bParallel);
        EXPECT_EQ(run.nPooledAfter, 0);
        if (run.aStatements.size() < nPosition) {
            EXPECT_TRUE(c.bParallel) << "a sequential run sends the same statements every time";
            EXPECT_EQ(run.aFiles, base.aFiles);
            continue;
        }
        const std::string& strFailed = run.aStatements[nPosition - 1];
        SCOPED_TRACE(strFailed);
        if (IsDefinitionLengthProbe(strFailed)) {
            // A failed probe is not reported; the length falls back to 256, enough for these definitions.
            EXPECT_TRUE(run.aMessages.empty());
            EXPECT_EQ(run.aFiles, base.aFiles);
            continue;
        }
        EXPECT_EQ(run.aMessages, std::vector<std::string>{strReport});
        ASSERT_TRUE(categoriesOf.contains(strFailed));
        const std::set<int> candidates =
            c.bParallel ? categoriesOf.at(strFailed) : std::set<int>{run.aCategories[nPosition - 1]};
        for (int nCategory = 0; nCategory < 13; ++nCategory) {
            SCOPED_TRACE(DefaultFileNames()[nCategory]);
            if (!candidates.contains(nCategory))
                EXPECT_EQ(run.aFiles[nCategory], base.aFiles[nCategory]);
            else if (candidates.size() == 1)
                EXPECT_EQ(run.aFiles[nCategory], kFailureTexts[nCategory]);
            else
                EXPECT_TRUE(run.aFiles[nCategory] == base.aFiles[nCategory] ||
                            run.aFiles[nCategory] == kFailureTexts[nCategory]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, CFaultInjectionTest,
    testing::Values(TFaultCase{"tiny/snapshot.json", false, "42000", "Injected server error"},
                    TFaultCase{"tiny/snapshot.json", false, "08S01", "Communication link failure"},
                    TFaultCase{"tiny/snapshot.json", true, "42000", "Injected server error"},
                    TFaultCase{"tiny/snapshot.json", true, "08S01", "Communication link failure"}));

} // namespace
