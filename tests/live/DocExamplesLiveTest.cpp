// The README's quick start and the man page's EXAMPLES against the test server, in databases of the test's
// own in place of the ones they name: each command ends as the document shows, and diff refuses and finds
// what it shows. The examples on the module's sample catalog (the database Sales) run on that snapshot only
// (DocExamplesTest).
#include "LiveSupport.h"
#include "docs/DocExamples.h"

namespace {

// The databases the documents name, as databases of this test's own: dropped at the end, whichever were made.
class TDocDatabases {
public:
    explicit TDocDatabases(const std::string& strTest) {
        for (const std::string strName : {"Shop", "ShopTest"})
            mapNames_[strName] =
                "sqlscripts_live_" + std::to_string(::getpid()) + "_" + strTest + "_" + strName;
    }
    ~TDocDatabases() {
        for (const auto& [strName, strOwn] : mapNames_)
            RunOnMasterRetried("DROP DATABASE [" + strOwn + "]");
    }
    TDocDatabases(const TDocDatabases&) = delete;
    TDocDatabases& operator=(const TDocDatabases&) = delete;

    // The command in this test's databases; none when it names one the server does not stand for.
    std::optional<std::string> Line(const std::string& strLine) const {
        std::map<std::string, std::string> mapConnect{{"master", ConnectTo("master")}};
        for (const auto& [strName, strOwn] : mapNames_)
            mapConnect[strName] = ConnectTo(strOwn);
        std::optional<std::string> strOut = WithConnects(strLine, mapConnect);
        for (const auto& [strName, strOwn] : mapNames_)
            if (strOut)
                strOut = std::regex_replace(*strOut, std::regex("\\b" + strName + "\\b"), strOwn);
        return strOut;
    }

    const std::string& Own(const std::string& strName) const { return mapNames_.at(strName); }

private:
    std::map<std::string, std::string> mapNames_;
};

// The files that make a database, which the commands so far wrote, as this server takes them.
void FitDatabaseFiles(const std::string& strDir) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(strDir))
        if (entry.path().filename() == "00-Database.sql")
            WriteWholeFile(entry.path().string(), FittedToServer(ReadWholeFile(entry.path().string())));
}

class DocExamplesLive : public testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("SQLSCRIPTS_TEST_CONNECT"))
            GTEST_SKIP() << "SQLSCRIPTS_TEST_CONNECT names no server";
    }

    // The commands in order, in one folder: every one that connects to a database the test stands for.
    static void RunOnServer(const std::vector<TDocCommand>& aCommands, const TDocDatabases& databases) {
        const CTempDir temp;
        const std::string strDir = std::filesystem::path(temp.File("")).parent_path().string();
        size_t nRun = 0;
        for (const TDocCommand& command : aCommands) {
            const std::optional<std::string> strLine = databases.Line(command.strLine);
            if (!RunsSqlscripts(command.strLine) || command.strLine.find("$CONNECT") == std::string::npos ||
                !strLine)
                continue;
            SCOPED_TRACE(command.strLine);
            ExpectAsShown(command, RetriedWhileDatabasesMeet([&] { return RunDocCommand(*strLine, strDir); }),
                          true);
            FitDatabaseFiles(strDir);
            nRun += NeedsServer(command.strLine) ? 1 : 0;
        }
        EXPECT_GT(nRun, 0u);
    }
};

// The quick start makes its database itself, from the demo's version 1, and changes it on the way.
TEST_F(DocExamplesLive, QuickStartDoesTheThreeJobs) {
    const TDocDatabases databases("readme");
    RunOnServer(MarkdownCommands(ReadmeQuickStart()), databases);
}

// The man page's examples begin where the quick start does: the demo's version 1 in the database Shop.
TEST_F(DocExamplesLive, ManPageExamplesRun) {
    const TDocDatabases databases("man");
    RunOnMasterRetried("CREATE DATABASE [" + databases.Own("Shop") + "]");
    const THostRun made = RunHost({"apply", (kSourceDir / "samples/shop-v1.sql").string(), "--connect",
                                   ConnectTo(databases.Own("Shop"))},
                                  kSourceDir.string());
    ASSERT_EQ(made.nStatus, 0) << made.strErr;
    RunOnServer(ManPageCommands(ManPageTemplate()), databases);
}

} // namespace
