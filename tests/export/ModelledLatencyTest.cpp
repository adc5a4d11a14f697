// A snapshot replayed with a modelled per-statement latency answers exactly as without it.
#include "export/ExportTestSupport.h"

namespace {

class CModelledLatencyTest : public CExportTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        CExportTest::SetUp();
        m_db.OpenEx(("SNAPSHOT=" + Fixture("tiny/snapshot.json") + ";" + GetParam()).c_str(),
                    CDatabase::noOdbcDialog);
    }
};

INSTANTIATE_TEST_SUITE_P(Options, CModelledLatencyTest,
                         ::testing::Values("DELAY_US=200", "delay_us=1", "DELAY_US=", "DELAY_US=none",
                                           "OTHER=1;DELAY_US=50"));

TEST_P(CModelledLatencyTest, BothRunsWriteTheExpectedScripts) {
    MakeUnloader(AllCategories())->ExecScriptData();
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
    std::filesystem::remove_all(OutDir());
    ResetDefinitionLengthForTesting();
    MakeUnloader(AllCategories())->ExecScriptDataThreads();
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
    EXPECT_TRUE(Messages().empty());
}

} // namespace
