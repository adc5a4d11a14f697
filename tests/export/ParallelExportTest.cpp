#include "export/ExportTestSupport.h"

#include "platform/Thread.h"

namespace {

constexpr int YES = 23014;
constexpr int NO = 23010;

using CParallelExportTest = CExportTest;

TEST_F(CParallelExportTest, WritesTheSameBytesAsTheSequentialRun) {
    ResetPeakRunningThreads();
    MakeUnloader(AllCategories())->ExecScriptDataThreads();
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
    EXPECT_TRUE(Messages().empty());
    EXPECT_LE(GetPeakRunningThreads(), 3);
    EXPECT_GE(GetPeakRunningThreads(), 1);
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

TEST_F(CParallelExportTest, OnlyTheEnabledCategoryIsWritten) {
    MakeUnloader({12})->ExecScriptDataThreads();
    std::vector<std::string> aFiles;
    for (const auto& entry : std::filesystem::directory_iterator(OutDir()))
        aFiles.push_back(entry.path().filename().string());
    EXPECT_EQ(aFiles, std::vector<std::string>{"Udf.sql"});
    EXPECT_EQ(ReadWholeFile(OutFile(12)), Expected(12));
}

TEST_F(CParallelExportTest, NoKeepsEarlierCategoriesAndClaimsNothingAfter) {
    PlaceOldFiles({4});
    m_answers.Queue({NO});
    MakeUnloader(AllCategories())->ExecScriptDataThreads();
    for (int nCategory = 0; nCategory < 4; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << nCategory;
    EXPECT_EQ(ReadWholeFile(OutFile(4)), "old");
    for (int nCategory = 5; nCategory < 13; ++nCategory)
        EXPECT_FALSE(std::filesystem::exists(OutFile(nCategory))) << nCategory;
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

TEST_F(CParallelExportTest, ReplaceQuestionsNeverOverlap) {
    PlaceOldFiles(AllCategories());
    m_answers.Queue(std::deque<int>(13, YES));
    MakeUnloader(AllCategories())->ExecScriptDataThreads();
    EXPECT_EQ(m_answers.Questions().size(), 13u);
    EXPECT_FALSE(m_answers.Overlapped());
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << nCategory;
}

TEST_F(CParallelExportTest, ASecondRunOnTheSameObjectWritesNothing) {
    auto pUnloader = MakeUnloader(AllCategories());
    pUnloader->ExecScriptDataThreads();
    std::filesystem::remove_all(OutDir());
    pUnloader->ExecScriptDataThreads();
    EXPECT_TRUE(std::filesystem::is_empty(OutDir()));
}

} // namespace
