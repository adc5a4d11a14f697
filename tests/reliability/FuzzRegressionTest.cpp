// Inputs that once broke a parser, kept as found by the fuzzers (tests/fixtures/fuzz/).
#include "export/ExportTestSupport.h"

namespace {

std::vector<std::filesystem::path> FuzzInputs(const std::string& strPrefix) {
    std::vector<std::filesystem::path> aPaths;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(SCRIPTS_FIXTURES_DIR) + "/fuzz"))
        if (entry.path().filename().string().starts_with(strPrefix))
            aPaths.push_back(entry.path());
    return aPaths;
}

// A bad snapshot file is refused with a CDBException that names the file, never with another exception.
TEST(CFuzzRegressionTest, BadSnapshotFilesAreRefusedAsDatabaseErrors) {
    const std::vector<std::filesystem::path> aPaths = FuzzInputs("snapshot_");
    ASSERT_FALSE(aPaths.empty());
    for (const std::filesystem::path& path : aPaths) {
        SCOPED_TRACE(path.filename().string());
        CDatabase db;
        try {
            db.OpenEx(("SNAPSHOT=" + path.string()).c_str(), CDatabase::noOdbcDialog);
            ADD_FAILURE() << "opened";
        } catch (CDBException* e) {
            EXPECT_NE(e->GetErrorText().Str().find("Catalog snapshot " + path.string() + ": "),
                      std::string::npos)
                << e->GetErrorText().Str();
            e->Delete();
        }
    }
}

} // namespace
