// What a running export shows on a terminal, and what Ctrl-C and SIGTERM leave behind.
#include "platform/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kSample = SQLSCRIPTS_SAMPLE;
const fs::path kSampleFiles = SCRIPTS_CASES_DIR "/cli/export-sample/expected/out";
const fs::path kSampleObjects = SCRIPTS_CASES_DIR "/cli/export-objects-layout/expected/out";

std::string Capture(const std::string& strCommand) {
    std::string strOut;
    if (std::FILE* pPipe = ::popen(strCommand.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pPipe)) > 0;)
            strOut.append(buffer, n);
        ::pclose(pPipe);
    }
    return strOut;
}

// Everything the terminal showed while "sqlscripts export" ran on it with the given options.
std::string ExportOnTerminal(const std::string& strOptions) {
    return Capture("LC_ALL=C.UTF-8 LANGUAGE= script -qec \"" SQLSCRIPTS_BINARY " export " + strOptions +
                   "\" /dev/null </dev/null");
}

class ExportProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v script >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "script(1) is not installed";
    }
    CTempDir m_dir;
};

TEST_F(ExportProgressTest, TheStatusLineNamesTheCategoryAndItsObjectsAndIsClearedForTheSummary) {
    const std::string strScreen = ExportOnTerminal("--snapshot " + kSample + " --dir " + m_dir.File("out"));
    EXPECT_NE(strScreen.find("\rsqlscripts: defaults  0 s\033[K"), std::string::npos) << strScreen;
    EXPECT_NE(strScreen.find("\rsqlscripts: tables 0/3  0 s\033[K"), std::string::npos) << strScreen;
    EXPECT_EQ(strScreen.find("\n", strScreen.find("\rsqlscripts:")), strScreen.size() - 1) << strScreen;
    const std::string strEnd = "\r\033[Ksqlscripts: scripts written to " + m_dir.File("out") + "\r\n";
    ASSERT_GE(strScreen.size(), strEnd.size());
    EXPECT_EQ(strScreen.substr(strScreen.size() - strEnd.size()), strEnd) << strScreen;
}

TEST_F(ExportProgressTest, TheParallelRunShowsThreeCategoriesAtOnce) {
    const std::string strScreen = ExportOnTerminal("--parallel --connect 'SNAPSHOT=" + kSample +
                                                   ";DELAY_US=20000' --dir " + m_dir.File("out"));
    bool bThree = false;
    for (size_t nAt = strScreen.find('\r'); nAt != std::string::npos; nAt = strScreen.find('\r', nAt + 1)) {
        const std::string strLine = strScreen.substr(nAt, strScreen.find("\033[K", nAt) - nAt);
        bThree |= std::count(strLine.begin(), strLine.end(), ',') == 2;
    }
    EXPECT_TRUE(bThree) << strScreen;
}

TEST_F(ExportProgressTest, QuietShowsNothing) {
    EXPECT_EQ(ExportOnTerminal("--quiet --snapshot " + kSample + " --dir " + m_dir.File("out")), "");
}

// Starts the slowed-down export in the background, sends the signal once the shell's test strReady holds (10
// s at most), and returns the exit status and the last line on stderr.
std::pair<int, std::string> InterruptExport(const CTempDir& dir, const std::string& strOptions,
                                            const std::string& strReady, const char* pszSignal,
                                            const std::string& strSnapshot = kSample) {
    const std::string strCommand =
        "cd " + dir.File("") +
        " && { LC_ALL=C.UTF-8 LANGUAGE= " SQLSCRIPTS_BINARY " export --connect 'SNAPSHOT=" + strSnapshot +
        ";DELAY_US=50000' --dir out " + strOptions + " 2>err </dev/null & pid=$!; for i in $(seq 1000); do " +
        strReady + " && break; sleep 0.01; done; kill -" + pszSignal + " $pid; wait $pid; echo $?; }";
    const int nStatus = std::stoi(Capture(strCommand));
    std::string strErr = ReadWholeFile(dir.File("err"));
    strErr.pop_back();
    return {nStatus, strErr.substr(strErr.rfind('\n') + 1)};
}

std::set<std::string> FilesUnder(const fs::path& dir) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files.insert(entry.path().lexically_relative(dir).string());
    return files;
}

TEST(ExportInterruptionTest, CtrlCStopsAtTheNextObjectAndNamesTheCategoriesWritten) {
    CTempDir dir;
    const auto [nStatus, strLine] =
        InterruptExport(dir, "--save-snapshot rec.json", "[ -e out/Tables.sql ]", "INT");
    EXPECT_EQ(nStatus, 130);
    const std::string strPrefix = "sqlscripts: interrupted; categories written: ";
    ASSERT_EQ(strLine.rfind(strPrefix + "defaults, udt, tables", 0), 0u) << strLine;
    // Whole files of exactly the categories named, and nothing else: no temporary file either.
    const std::map<std::string, std::string> files = {{"defaults", "Defaults.sql"},
                                                      {"udt", "Udt.sql"},
                                                      {"tables", "Tables.sql"},
                                                      {"pk", "PK.sql"},
                                                      {"fk", "FK.sql"},
                                                      {"fulltext", "FullText.sql"},
                                                      {"schemas", "Schemas.sql"},
                                                      {"views", "Views.sql"},
                                                      {"triggers", "Triggers.sql"},
                                                      {"procs", "StoredProc.sql"},
                                                      {"indexes", "Indexes.sql"},
                                                      {"checks", "Checks.sql"},
                                                      {"udf", "Udf.sql"}};
    std::set<std::string> named;
    std::istringstream names(strLine.substr(strPrefix.size()));
    for (std::string strName; std::getline(names >> std::ws, strName, ',');)
        named.insert(files.at(strName));
    EXPECT_LT(named.size(), files.size());
    EXPECT_EQ(FilesUnder(dir.File("out")), named);
    for (const std::string& strFile : named)
        EXPECT_EQ(ReadWholeFile(dir.File("out/" + strFile)), ReadWholeFile((kSampleFiles / strFile).string()))
            << strFile;
    // The recording says why it ends early, and answers what the categories written asked.
    EXPECT_TRUE(
        ReadWholeFile(dir.File("rec.json"))
            .ends_with("{\"end\":\"cut short\",\"reason\":\"the export was interrupted (Ctrl-C)\"}\n"));
    std::string strOnly = strLine.substr(strPrefix.size());
    std::erase(strOnly, ' ');
    Capture("cd " + dir.File("") +
            " && " SQLSCRIPTS_BINARY " export --snapshot rec.json --dir again --only " + strOnly +
            " 2>/dev/null");
    EXPECT_EQ(FilesUnder(dir.File("again")), named);
    for (const std::string& strFile : named)
        EXPECT_EQ(ReadWholeFile(dir.File("again/" + strFile)), ReadWholeFile(dir.File("out/" + strFile)))
            << strFile;
}

TEST(ExportInterruptionTest, CtrlCWhileRecreateReadsTheCatalogLeavesNoFolderAndARecordingCutShort) {
    CTempDir dir;
    const auto [nStatus, strLine] =
        InterruptExport(dir, "--recreate --save-snapshot rec.json", "grep -qs sys.types .rec.json.*.tmp",
                        "INT", SCRIPTS_FIXTURES_DIR "/recreate/recorded-northwind.json");
    EXPECT_EQ(nStatus, 130);
    EXPECT_EQ(strLine, "sqlscripts: interrupted; no category was written");
    EXPECT_FALSE(fs::exists(dir.File("out")));
    EXPECT_TRUE(
        ReadWholeFile(dir.File("rec.json"))
            .ends_with("{\"end\":\"cut short\",\"reason\":\"the export was interrupted (Ctrl-C)\"}\n"));
}

TEST(ExportInterruptionTest, SigtermStopsTheObjectLayoutWithWholeFilesOnly) {
    CTempDir dir;
    const auto [nStatus, strLine] =
        InterruptExport(dir, "--layout objects --parallel", "[ -e out/Tables ]", "TERM");
    EXPECT_EQ(nStatus, 143);
    EXPECT_EQ(strLine.rfind("sqlscripts: interrupted; ", 0), 0u) << strLine;
    const std::set<std::string> written = FilesUnder(dir.File("out"));
    EXPECT_LT(written.size(), FilesUnder(kSampleObjects).size());
    for (const std::string& strFile : written)
        EXPECT_EQ(ReadWholeFile(dir.File("out/" + strFile)),
                  ReadWholeFile((kSampleObjects / strFile).string()))
            << strFile;
}

} // namespace
