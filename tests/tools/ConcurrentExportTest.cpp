// Two exports into one folder at once, with --replace never: the one that names a file first keeps it, the
// other stops there without replacing it, for category files and object files alike.
#include "cases/CaseSupport.h"
#include "cases/HostRun.h"

#include <future>

namespace fs = std::filesystem;

namespace {

const fs::path kCases = SCRIPTS_CASES_DIR "/cli";

// Each statement waits 50 ms, so both runs are scripting the tables while the folder is still empty.
THostRun SlowExport(const CTempDir& dir, const std::string& strLayout) {
    return RunHost({"export", "--connect", "SNAPSHOT=" SQLSCRIPTS_SAMPLE ";DELAY_US=50000", "--dir", "out",
                    "--only", "tables", "--layout", strLayout, "--replace", "never"},
                   dir.File(""));
}

TEST(ConcurrentExportTest, NeitherReplacesTheFileTheOtherWrote) {
    const std::pair<std::string, std::map<std::string, std::string>> layouts[] = {
        {"categories", {{"Tables.sql", ReadWholeFile(kCases / "export-sample/expected/out/Tables.sql")}}},
        {"objects",
         {{"Tables/dbo.Customers.sql",
           ReadWholeFile(kCases / "export-objects-layout/expected/out/Tables/dbo.Customers.sql")},
          {"Tables/dbo.Orders.sql",
           ReadWholeFile(kCases / "export-objects-layout/expected/out/Tables/dbo.Orders.sql")},
          {"Tables/sales.Regions.sql",
           ReadWholeFile(kCases / "export-objects-layout/expected/out/Tables/sales.Regions.sql")},
          {"manifest.txt", "Tables/dbo.Customers.sql\nTables/dbo.Orders.sql\nTables/sales.Regions.sql\n"}}},
    };
    for (const auto& [strLayout, expected] : layouts) {
        SCOPED_TRACE(strLayout);
        const CTempDir dir;
        std::future<THostRun> first =
            std::async(std::launch::async, [&dir, &strName = strLayout] { return SlowExport(dir, strName); });
        const THostRun second = SlowExport(dir, strLayout);
        const THostRun one = first.get();
        ASSERT_EQ(one.nStatus + second.nStatus, 1) << one.strErr << second.strErr;
        const std::string& strStopped = one.nStatus ? one.strErr : second.strErr;
        EXPECT_NE(strStopped.find(" already exists in out; stopped without overwriting it"),
                  std::string::npos)
            << strStopped;
        const std::map<std::string, std::string> files = FilesUnder(dir.File("out"));
        ASSERT_EQ(files.size(), expected.size());
        for (const auto& [strName, strText] : expected)
            EXPECT_SCRIPT(files.at(strName), strText) << strName;
    }
}

} // namespace
