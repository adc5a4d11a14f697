// Every command line of the README's quick start and of the man page's EXAMPLES runs here against the bundled
// samples, so that a renamed option fails a test rather than a reader; those that need a server (apply, diff
// of a folder) run in the live suite, DocExamplesLiveTest.
#include "docs/DocExamples.h"

namespace {

// Each database the documents name, as the bundled catalog snapshot that stands for it.
std::map<std::string, std::string> SampleConnects() {
    const std::string strSamples = (kSourceDir / "samples").string();
    return {{"Sales", "SNAPSHOT=" + strSamples + "/sample.json"},
            {"Shop", "SNAPSHOT=" + strSamples + "/shop-v1.json"},
            {"ShopTest", "SNAPSHOT=" + strSamples + "/shop-v2.json"}};
}

// The commands in order, in one folder. Without the server's steps the samples stay apart, so a diff may find
// differences where the document's finds none; what it refuses, and the differences it shows, are the same.
void RunOnSamples(const std::vector<TDocCommand>& aCommands) {
    const CTempDir temp;
    const std::string strDir = std::filesystem::path(temp.File("")).parent_path().string();
    size_t nRun = 0;
    for (const TDocCommand& command : aCommands) {
        if (!RunsSqlscripts(command.strLine) || NeedsServer(command.strLine))
            continue;
        SCOPED_TRACE(command.strLine);
        const std::optional<std::string> strLine = WithConnects(command.strLine, SampleConnects());
        ASSERT_TRUE(strLine) << "a database that no sample stands for";
        ExpectAsShown(command, RunDocCommand(*strLine, strDir), false);
        ++nRun;
    }
    EXPECT_GT(nRun, 0u);
}

TEST(DocExamples, QuickStartRunsOnTheSamples) {
    RunOnSamples(MarkdownCommands(ReadmeQuickStart()));
}

TEST(DocExamples, ManPageExamplesRunOnTheSamples) {
    RunOnSamples(ManPageCommands(ManPageTemplate()));
}

// The quick start shows what the demo prints, as the demo's golden case has it.
TEST(DocExamples, QuickStartShowsWhatTheDemoPrints) {
    for (const TDocCommand& command : MarkdownCommands(ReadmeQuickStart()))
        if (command.strLine == "sqlscripts demo") {
            EXPECT_SCRIPT(Joined(command.aShown),
                          ReadWholeFile(std::string(SCRIPTS_CASES_DIR) +
                                        "/cli/demo-shows-the-job-on-two-versions/stdout"));
            return;
        }
    ADD_FAILURE() << "the quick start shows no sqlscripts demo";
}

} // namespace
