// A network that stops answering in the middle of the rows: Ctrl-C still ends the run at once, --timeout ends
// it by itself, and what a run killed outright leaves behind goes with the next one. The link goes through a
// relay of the test's own (socat) that is stopped with SIGSTOP: the connection stays open and carries
// nothing, as when a network stalls.
#include "LiveSupport.h"

#include <signal.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Temporary files under the folder, which every file of a run is written as before it takes its name.
std::vector<std::string> TemporaryFiles(const std::string& strDir) {
    std::vector<std::string> aNames;
    for (const auto& [strName, strText] : FilesUnder(strDir))
        if (std::regex_search(strName, std::regex("(^|/)\\.[^/]+\\.tmp$")))
            aNames.push_back(strName);
    return aNames;
}

class LiveStalledLink : public testing::Test {
protected:
    // A table whose rows take a while to arrive: more than the buffers on the way hold.
    static void SetUpTestSuite() {
        s_pSource = std::make_unique<TScratchDatabase>("stall");
        RunSql(s_pSource->db, "CREATE TABLE wide (id int IDENTITY(1, 1) PRIMARY KEY, filler nvarchar(200))");
        RunSql(s_pSource->db,
               "WITH n AS (SELECT TOP 100000 ROW_NUMBER() OVER (ORDER BY (SELECT NULL)) AS k FROM "
               "sys.all_columns a CROSS JOIN sys.all_columns b) INSERT INTO wide (filler) SELECT "
               "REPLICATE(N'x', 100) + CAST(k AS nvarchar(20)) FROM n");
    }
    static void TearDownTestSuite() { s_pSource.reset(); }

    void TearDown() override { StopRelay(); }

    // Starts an export of the rows through a new relay, and stalls the relay once the rows are being written.
    pid_t StartStalled(const std::vector<std::string>& aOptions) {
        const std::string strPort = std::to_string(20000 + (::getpid() + 1) % 20000);
        const std::string strRelayed =
            WithKey(WithKey(ConnectTo(s_pSource->strName), "SERVER", "127.0.0.1"), "PORT", strPort);
        m_relay = StartRelay(strPort, strRelayed);
        EXPECT_GT(m_relay, 0) << "no relay: socat is needed (make deps installs it)";
        std::vector<std::string> aArgs = {"export", "--data-only", "--connect", strRelayed, "--dir", Out()};
        aArgs.insert(aArgs.end(), aOptions.begin(), aOptions.end());
        const pid_t run = StartHost(aArgs, m_dir.File(""), m_dir.File("stdout"), m_dir.File("stderr"));
        for (int nTry = 0; nTry < 1000 && TemporaryFiles(Out()).empty(); ++nTry)
            std::this_thread::sleep_for(20ms);
        EXPECT_EQ(TemporaryFiles(Out()).size(), 1u) << "the rows were not being written";
        ::kill(-m_relay, SIGSTOP);
        return run;
    }

    void StopRelay() {
        if (m_relay <= 0)
            return;
        ::kill(-m_relay, SIGKILL);
        ::kill(-m_relay, SIGCONT);
        m_relay = 0;
    }

    std::string Out() const { return m_dir.File("out"); }
    std::string Stderr() const { return ReadWholeFile(m_dir.File("stderr")); }

    static inline std::unique_ptr<TScratchDatabase> s_pSource;
    CTempDir m_dir;
    pid_t m_relay = 0;
};

TEST_F(LiveStalledLink, CtrlCEndsTheRunWithinTwoSecondsLeavingNothing) {
    const pid_t run = StartStalled({"--quiet"});
    std::this_thread::sleep_for(300ms); // the rows buffered on the way are read, then the run waits
    const auto signalled = std::chrono::steady_clock::now();
    ::kill(run, SIGINT);
    EXPECT_EQ(WaitAtMost(run, 10s), 130);
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, 2s);
    EXPECT_EQ(Stderr(), "sqlscripts: interrupted; the run ended without waiting for the server's answer\n");
    EXPECT_FALSE(fs::exists(Out())) << "the folder made for the run stays";
}

TEST_F(LiveStalledLink, TimeoutEndsAStalledStatementNamingTheLimit) {
    const pid_t run = StartStalled({"--quiet", "--timeout", "2"});
    EXPECT_EQ(WaitAtMost(run, 30s), 1);
    EXPECT_TRUE(std::regex_match(Stderr(), std::regex("sqlscripts: rows of dbo\\.wide: [^\n]*Timeout expired "
                                                      "\\(no answer from the server within the 2 seconds a "
                                                      "statement may wait\\)[^\n]*\n")))
        << Stderr();
    EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(LiveStalledLink, TheNextRunRemovesWhatAKilledRunLeft) {
    const pid_t run = StartStalled({});
    ::kill(run, SIGKILL);
    WaitHost(run);
    StopRelay();
    const std::vector<std::string> aLeft = TemporaryFiles(Out());
    ASSERT_EQ(aLeft.size(), 1u);
    EXPECT_NE(aLeft.front().find("." + std::to_string(run) + "-"), std::string::npos) << aLeft.front();
    const THostRun again =
        Export(Out(), {"--data-only", "--quiet", "--connect", ConnectTo(s_pSource->strName)});
    EXPECT_EQ(again.nStatus, 0);
    EXPECT_EQ(again.strErr,
              "sqlscripts: removed 1 temporary file that a run which ended early left in " + Out() + "\n");
    EXPECT_TRUE(TemporaryFiles(Out()).empty());
    EXPECT_EQ(FilesUnder(Out()).count("07-Data/001-dbo.wide.sql"), 1u);
}

} // namespace
