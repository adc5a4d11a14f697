// Against a live server (SQLSCRIPTS_TEST_CONNECT): an export, which prefetches by default, writes the files
// of the export with the module's own statements and sends a number of statements that does not grow with the
// catalog.
#include "LiveSupport.h"
#include "backend/Snapshot.h"

#include <regex>

namespace {

constexpr size_t kMaxPrefetchStatements = 40;

std::vector<std::string> LiveDatabases() {
    std::vector<std::string> aNames;
    std::istringstream lines(ReadWholeFile(SCRIPTS_FIXTURES_DIR "/live/prefetch-databases.txt"));
    for (std::string strLine; std::getline(lines, strLine);)
        if (!strLine.empty() && strLine.front() != '#')
            aNames.push_back(strLine);
    return aNames;
}

class LivePrefetch : public testing::TestWithParam<std::string> {};

TEST_P(LivePrefetch, WritesTheDefaultFilesWithFewStatements) {
    const char* pszConnect = std::getenv("SQLSCRIPTS_TEST_CONNECT");
    if (!pszConnect || !*pszConnect)
        GTEST_SKIP() << "SQLSCRIPTS_TEST_CONNECT is not set: no live server";
    const std::string strConnect = ConnectTo(GetParam());
    CTempDir dir;
    for (const bool bParallel : {false, true}) {
        const auto runExport = [&](const std::string& strFolder, std::vector<std::string> aOptions) {
            std::vector<std::string> aArgs = {
                "export", "--connect", strConnect, "--dir", dir.File(strFolder), "--replace", "all"};
            aArgs.insert(aArgs.end(), aOptions.begin(), aOptions.end());
            if (bParallel)
                aArgs.push_back("--parallel");
            return RunHost(aArgs, dir.File(""));
        };
        const THostRun plain = runExport("plain", {"--no-prefetch"});
        const THostRun prefetch = runExport("prefetch", {"--save-snapshot", dir.File("prefetch.json")});
        ASSERT_EQ(plain.nStatus, 0) << plain.strErr;
        ASSERT_EQ(prefetch.nStatus, 0) << prefetch.strErr;
        EXPECT_EQ(WithIndexNameTiesSorted(FilesUnder(dir.File("prefetch"))),
                  WithIndexNameTiesSorted(FilesUnder(dir.File("plain"))))
            << "parallel " << bParallel;
        EXPECT_LE(CCatalogSnapshot::Load(dir.File("prefetch.json"))->GetCount(), kMaxPrefetchStatements);
    }
}

INSTANTIATE_TEST_SUITE_P(Databases, LivePrefetch, testing::ValuesIn(LiveDatabases()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
