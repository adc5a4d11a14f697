// Tests against a live T-SQL server, reached through SQLSCRIPTS_TEST_CONNECT (tests/live/with-server starts
// the local test server and sets it); without it the program says so in one line and reports itself
// skipped. Objects are created only in databases of the tests' own, dropped when the test ends.
#include "LiveSupport.h"
#include "catalog/ConnectionContext.h"
#include "scripts/ScriptApi.h"
#include "ui/Ui.h"

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iostream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The sequential export of a database, made once per process, with the snapshot it recorded (<folder>.json).
const std::string& ExportOf(const std::string& strDatabase) {
    static const CTempDir root;
    static std::map<std::string, std::string> folders;
    const auto [it, bNew] = folders.try_emplace(strDatabase, root.File(strDatabase));
    if (!bNew)
        return it->second;
    const THostRun run =
        Export(it->second, {"--connect", ConnectTo(strDatabase), "--save-snapshot", it->second + ".json"});
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    // The database read is named to the user, and in the recording, without a statement of its own.
    EXPECT_NE(run.strErr.find("sqlscripts: scripts of database " + strDatabase + " written to "),
              std::string::npos)
        << run.strErr;
    EXPECT_TRUE(
        ReadWholeFile(it->second + ".json")
            .starts_with(
                R"({"format":"sqlscripts-catalog-snapshot","version":2,"source":"recorded by sqlscripts","database":")" +
                strDatabase + "\"}\n"));
    return it->second;
}

void ExpectExport(const std::string& strDir, const std::vector<std::string>& aArgs, bool bParallel,
                  const TFiles& expected) {
    const THostRun run = Export(strDir, aArgs, bParallel);
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    const TFiles files = WithIndexNameTiesSorted(FilesUnder(strDir));
    ASSERT_EQ(files.size(), expected.size());
    for (const auto& [strName, strText] : WithIndexNameTiesSorted(expected))
        EXPECT_SCRIPT(files.at(strName), strText) << strName;
}

std::vector<std::string> Matches(const std::string& str, const std::regex& pattern) {
    return {std::sregex_token_iterator(str.begin(), str.end(), pattern, 1), std::sregex_token_iterator()};
}

// What a program gets for one object, on a definition length probed afresh as in a new process.
std::string ObjectScript(CDatabase& db, const std::string& strName) {
    ResetDefinitionLengthForTesting();
    CString strScript;
    EXPECT_TRUE(GenerateSQLScriptObject(db, strName.c_str(), strScript, true)) << strName;
    return strScript.Str();
}

std::vector<std::string> Fields(CDatabase& db, const std::string& strName) {
    CString strFields;
    EXPECT_TRUE(GenerateSQLScriptFields(db, strName.c_str(), strFields)) << strName;
    return Matches(strFields.Str() + ",\r\n", std::regex("(.*),\r\n"));
}

class CLiveExport : public testing::TestWithParam<std::string> {};

TEST_P(CLiveExport, AgreesInParallelReplayedAndObjectByObject) {
    const std::string& strFolder = ExportOf(GetParam());
    const TFiles files = FilesUnder(strFolder);
    ASSERT_EQ(files.size(), 13u);
    const CTempDir dir;
    ExpectExport(dir.File("parallel"), {"--connect", ConnectTo(GetParam())}, true, files);
    ExpectExport(dir.File("replayed"), {"--snapshot", strFolder + ".json"}, false, files);

    AfxSetUiBackend(nullptr);
    AfxGetHeadlessUiBackend().ClearMessages();
    CDatabase db;
    db.OpenEx(ConnectTo(GetParam()).c_str(), CDatabase::noOdbcDialog);
    const std::regex row("VALUES \\('dbo', '([^']*)', '(.*)'\\)\r\n");
    const std::string& strTables = files.at("Tables.sql");
    for (std::sregex_iterator it(strTables.begin(), strTables.end(), row), end; it != end; ++it) {
        const std::string strName = (*it)[1], strStatement = (*it)[2];
        EXPECT_EQ(std::regex_replace(ObjectScript(db, strName), std::regex("\r\n"), ""),
                  strStatement + "GO ");
        EXPECT_EQ(Fields(db, strName), Matches(strStatement, std::regex("\t\\[([^\\]]*)\\]")));
    }
    const std::string& strViews = files.at("Views.sql");
    for (const std::string& strName :
         Matches(strViews, std::regex("DROP VIEW \\[dbo\\]\\.\\[([^\\]]*)\\] \r\n"))) {
        const std::string strScript = ObjectScript(db, strName);
        EXPECT_TRUE(!strScript.empty() && strViews.find(strScript) != std::string::npos) << strName;
        for (const std::string& strField : Fields(db, strName))
            EXPECT_TRUE(strScript.find(strField) != std::string::npos ||
                        strScript.find('*') != std::string::npos)
                << strName << ": " << strField;
    }
    EXPECT_TRUE(AfxGetHeadlessUiBackend().GetMessages().empty());
}

INSTANTIATE_TEST_SUITE_P(Shipped, CLiveExport, testing::Values("northwind", "pubs", "scripttest", "bulk"));

// Identity values arrive as sql_variant; every definition column reports size 0; the long texts pass the
// driver's default text size and the reading buffer; names, comments and literals travel as UTF-8.
TEST(LiveWire, IdentityLongTextsAndUnicodeComeBackExactly) {
    TScratchDatabase scratch("wire");
    std::string strProc = "CREATE PROCEDURE [dbo].[LongProc] AS\n";
    while (strProc.size() < 120000)
        strProc += "SELECT " + std::to_string(strProc.size()) + " AS [Строка_行] -- Привет, 世界\n";
    strProc += "SELECT 0"; // a trailing comment would not be kept by this server
    std::string strLiteral;
    while (strLiteral.size() < 12000)
        strLiteral += "жЖ語";
    const std::string strCheck =
        "ALTER TABLE [dbo].[Counters] ADD CONSTRAINT [ck_long] CHECK ([Note] <> N'" + strLiteral + "')";
    std::vector<std::string> aBatches = Batches(ReadWholeFile((kLiveDir / "wire/setup.sql").string()));
    aBatches.insert(aBatches.end(), {strProc, strCheck});
    ASSERT_EQ(RunBatches(scratch.db, aBatches), TRefusals{});

    TFiles expected = FilesUnder(kLiveDir / "wire/expected");
    for (auto& [strName, strText] : expected) {
        strText = std::regex_replace(strText, std::regex("\\{LongProc\\}"), strProc);
        strText = std::regex_replace(strText, std::regex("\\{LongLiteral\\}"), strLiteral);
    }
    const CTempDir dir;
    for (const bool bParallel : {false, true})
        ExpectExport(dir.File(bParallel ? "parallel" : "sequential"),
                     {"--connect", ConnectTo(scratch.strName)}, bParallel, expected);
}

// This server sends the names above as '?': the export says which objects that touches, and prefetch, which
// cannot resolve such names, leaves them to the server and writes the default's files.
TEST(LiveWire, NamesTheConnectionCannotCarryAreReportedAndPrefetchWritesTheSameFiles) {
    TScratchDatabase scratch("damaged");
    ASSERT_EQ(RunBatches(scratch.db, Batches(ReadWholeFile((kLiveDir / "damaged-names/setup.sql").string()))),
              TRefusals{});
    const TFiles expected = FilesUnder(fs::path(SCRIPTS_CASES_DIR) /
                                       "cli/export-names-the-connection-could-not-carry/expected/out");
    const CTempDir dir;
    for (const bool bPrefetch : {false, true}) {
        for (const bool bParallel : {false, true}) {
            const std::string strOut = dir.File(std::to_string(bPrefetch) + std::to_string(bParallel));
            std::vector<std::string> aArgs = {"--connect", ConnectTo(scratch.strName)};
            if (bPrefetch)
                aArgs.push_back("--prefetch");
            const THostRun run = Export(strOut, aArgs, bParallel);
            EXPECT_EQ(run.nStatus, 0) << run.strErr;
            EXPECT_EQ(
                run.strErr.substr(0, run.strErr.find(" Likely cause: ")),
                "sqlscripts: warning: these names came back with '?' for characters that the connection "
                "could not carry, so their objects may be missing from the scripts or scripted under the "
                "damaged names: tables dbo.??????, dbo.??????; pk dbo.??????_pkey; views dbo.?????; "
                "indexes dbo.??????.ix_kod.");
            const TFiles files = FilesUnder(strOut);
            ASSERT_EQ(files.size(), expected.size());
            for (const auto& [strName, strText] : expected)
                EXPECT_SCRIPT(files.at(strName), strText) << strName << " prefetch " << bPrefetch;
        }
    }
}

TEST(LiveFailure, WrongPasswordAndMissingDatabaseEndInOneLineWritingNothing) {
    for (const std::string& strConnect :
         {WithKey(ConnectTo("northwind"), "PWD", "Wrong-Пароль"), ConnectTo("sqlscripts_no_such_database")})
        for (const bool bParallel : {false, true}) {
            const CTempDir dir;
            const THostRun run = Export(dir.File("out"), {"--connect", strConnect}, bParallel);
            EXPECT_EQ(run.nStatus, 1);
            EXPECT_TRUE(std::regex_match(run.strErr, std::regex("sqlscripts: cannot connect: [^\n]+\n")))
                << run.strErr;
            EXPECT_EQ(run.strErr.find("Wrong-Пароль"), std::string::npos);
            EXPECT_FALSE(fs::exists(dir.File("out")));
        }
}

// The password kept off the command line: from a file only its owner reads, from SQLSCRIPTS_PASSWORD, typed
// on the terminal, for every server side of a diff; a connect string's own password wins.
TEST(LivePassword, FromFileEnvironmentOrTerminalLogsIn) {
    const std::string strPassword = KeyOf("PWD", "");
    const std::string strWithout =
        std::regex_replace(ConnectTo("master"), std::regex("(^|;)PWD=[^;]*", std::regex::icase), "");
    const std::vector<std::string> aDiff = {"diff", strWithout, strWithout};
    const std::string strWork = fs::temp_directory_path().string();
    const CTempDir dir;
    {
        std::ofstream(dir.File("password")) << strPassword << "\n";
        fs::permissions(dir.File("password"), fs::perms::owner_read | fs::perms::owner_write);
    }
    std::vector<std::string> aWithFile = aDiff;
    aWithFile.insert(aWithFile.end(), {"--password-file", dir.File("password")});
    const THostRun fromFile = RunHost(aWithFile, strWork);
    EXPECT_EQ(fromFile.nStatus, 0) << fromFile.strErr;
    const THostRun fromEnvironment = RunHost(aDiff, strWork, {"SQLSCRIPTS_PASSWORD=" + strPassword});
    EXPECT_EQ(fromEnvironment.nStatus, 0) << fromEnvironment.strErr;
    const THostRun typed = RunHost(aDiff, strWork, {}, strPassword + "\n");
    EXPECT_EQ(typed.nStatus, 0) << typed.strErr;
    EXPECT_EQ(typed.strErr, "password for " + KeyOf("UID", "") + ": \n");
    const THostRun ownWins =
        RunHost({"diff", ConnectTo("master"), strWithout}, strWork, {"SQLSCRIPTS_PASSWORD=Wrong-Пароль"});
    EXPECT_EQ(ownWins.nStatus, 2) << "the side without a password takes the wrong one";
    EXPECT_EQ(ownWins.strErr.find("Wrong-Пароль"), std::string::npos) << ownWins.strErr;
}

// The server going away in the middle of an export. Stopping the shared test server would break whoever
// else uses it, so the export goes through a TCP relay of the test's own that is killed mid-run with every
// connection it carries: the client sees its connections end exactly as when the server stops. A new relay
// stands for the server started again.
TEST(LiveFailure, ServerGoneMidExportEndsInOneLineLeavingOnlyWholeFiles) {
    const TFiles complete = FilesUnder(ExportOf("bulk"));
    const std::string strPort = std::to_string(20000 + ::getpid() % 20000);
    const std::string strRelayed =
        WithKey(WithKey(ConnectTo("bulk"), "SERVER", "127.0.0.1"), "PORT", strPort);
    for (const bool bParallel : {false, true}) {
        const pid_t relay = StartRelay(strPort, strRelayed);
        ASSERT_GT(relay, 0) << "no relay: socat is needed (make deps installs it)";
        const CTempDir dir;
        std::future<THostRun> exporting = std::async(std::launch::async, [&] {
            return Export(dir.File("out"), {"--connect", strRelayed}, bParallel);
        });
        while (exporting.wait_for(std::chrono::milliseconds(20)) == std::future_status::timeout &&
               FilesUnder(dir.File("out")).size() < 2) {
        }
        ::kill(-relay, SIGKILL);
        const THostRun run = exporting.get();
        EXPECT_EQ(run.nStatus, 1);
        EXPECT_TRUE(std::regex_match(run.strErr, std::regex("sqlscripts: [^\n]*connection lost[^\n]*\n")))
            << run.strErr;
        const TFiles cut = FilesUnder(dir.File("out"));
        EXPECT_LT(cut.size(), 13u);
        for (const auto& [strName, strText] : cut)
            EXPECT_SCRIPT(strText, complete.at(strName)) << strName;
    }
}

// A script's units across the round trip, sorted: one per object, since generated constraint names and
// lower-cased names reorder the lists. A batch of SET options or an existence guard belongs to the batch
// after it; each INSERT row of the Tables file is one. Units holding a refused statement are left out.
std::vector<std::string> Units(const std::string& strScript, const TRefusals& aLeftOut) {
    std::vector<std::string> aUnits;
    std::string strPending;
    for (const std::string& strBatch : Batches(strScript)) {
        for (const std::string& strLine : Matches(strBatch, std::regex("([^\n]*\n?)")))
            (strLine.starts_with("INSERT INTO") ? aUnits.emplace_back() : strPending) += strLine;
        if (!std::regex_search(strBatch, std::regex("^\\s*(SET |IF OBJECT_ID)")))
            aUnits.push_back(std::exchange(strPending, ""));
    }
    aUnits.push_back(strPending);
    std::erase_if(aUnits, [&](std::string& strUnit) {
        const bool bRefused = std::any_of(aLeftOut.begin(), aLeftOut.end(), [&](const auto& refused) {
            return strUnit.find(refused.first) != std::string::npos;
        });
        strUnit = std::regex_replace(strUnit, std::regex("^\\s+|\\s+$"), "");
        return bRefused || strUnit.empty();
    });
    std::sort(aUnits.begin(), aUnits.end());
    return aUnits;
}

// The refusals by kind (roundtrip/kinds), one line per kind with its count; any other refusal fails.
std::string CountRefusals(const TRefusals& aRefused) {
    std::map<std::string, int> counts;
    const std::vector<std::string> aKinds = LiveLines("roundtrip/kinds");
    for (const auto& [strStatement, strAnswer] : aRefused) {
        const std::string strRefusal = strAnswer + "\n" + strStatement;
        const auto kind = std::find_if(aKinds.begin(), aKinds.end(), [&](const std::string& strKind) {
            return std::regex_search(strRefusal, std::regex(strKind.substr(strKind.find('\t') + 1)));
        });
        if (kind == aKinds.end())
            ADD_FAILURE() << "refused: " << strRefusal;
        else
            ++counts[kind->substr(0, kind->find('\t'))];
    }
    std::string strCounted;
    for (const auto& [strKind, nCount] : counts)
        strCounted += "  " + std::to_string(nCount) + " " + strKind + "\n";
    return strCounted;
}

class CLiveRoundTrip : public testing::TestWithParam<std::string> {};

TEST_P(CLiveRoundTrip, ReappliedExportComesBackAlikeButForCountedRefusals) {
    const std::string& strSource = ExportOf(GetParam());
    TScratchDatabase copy("copy_" + GetParam());
    CDatabase& db = copy.db;
    RunSql(db, "EXEC sp_babelfish_configure 'escape_hatch_nocheck_add_constraint', 'ignore'");
    const CTempDir dir; // the module objects once more, each after those it uses
    ASSERT_EQ(Export(dir.File("ordered"), {"--connect", ConnectTo(GetParam()), "--only",
                                           "views,procs,triggers,udf", "--order", "dependencies"})
                  .nStatus,
              0);
    TRefusals aRefused;
    for (const std::string& strFile : LiveLines("roundtrip/order")) {
        const std::string strOrdered = dir.File("ordered/" + strFile);
        std::vector<std::string> aBatches =
            Batches(ReadWholeFile(fs::exists(strOrdered) ? strOrdered : strSource + "/" + strFile));
        if (strFile == "Tables.sql") {
            RunSql(db, "CREATE TABLE [dbo].[kv_TableScripts] ([NameSchema] sysname, [NameTable] sysname, "
                       "[Script] nvarchar(max))");
            ASSERT_EQ(RunBatches(db, aBatches), TRefusals{});
            aBatches.clear();
            CRecordset rs(&db);
            CString strScript;
            for (rs.Open(CRecordset::snapshot, "SELECT [Script] FROM [dbo].[kv_TableScripts]"); !rs.IsEOF();
                 rs.MoveNext()) {
                rs.GetFieldValue(short{0}, strScript);
                aBatches.push_back(strScript.Str());
            }
            RunSql(db, "DROP TABLE [dbo].[kv_TableScripts]");
        }
        const TRefusals aNew = RunBatches(db, aBatches);
        aRefused.insert(aRefused.end(), aNew.begin(), aNew.end());
    }

    const std::string strCounted = CountRefusals(aRefused);
    EXPECT_EQ(strCounted, ReadWholeFile((kLiveDir / "roundtrip" / GetParam()).string()));

    const THostRun run = Export(dir.File("copy"), {"--connect", ConnectTo(copy.strName)});
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    const TFiles source = FilesUnder(strSource), copied = FilesUnder(dir.File("copy"));
    ASSERT_EQ(copied.size(), source.size());
    int nIdentical = 0;
    for (const auto& [strName, strText] : source) {
        nIdentical += strText == copied.at(strName);
        EXPECT_EQ(Units(copied.at(strName), {}), Units(strText, aRefused)) << strName;
    }
    std::cout << GetParam() << ": " << nIdentical << " of 13 files identical; refused:\n" << strCounted;
}

INSTANTIATE_TEST_SUITE_P(Shipped, CLiveRoundTrip, testing::Values("northwind", "pubs", "scripttest"));

// Each object file runs on its own on a database that has what it uses: each from the session options that a
// new connection has (all that a file changes of its session; a connection per file took three times as
// long), in the order of the folder's list, a Tables file followed by the table script its row carries. A
// module refused for want of one that comes later in name order is tried again once others have applied; what
// the server still refuses is counted by kind, as in the round trip.
class CLiveObjectFiles : public testing::TestWithParam<std::string> {};

TEST_P(CLiveObjectFiles, EachRunsAloneInTheOrderOfTheList) {
    const CTempDir dir;
    const fs::path folder = dir.File("objects");
    ASSERT_EQ(Export(folder, {"--connect", ConnectTo(GetParam()), "--layout", "objects"}).nStatus, 0);
    TScratchDatabase copy("objects_" + GetParam());
    RunSql(copy.db, "EXEC sp_babelfish_configure 'escape_hatch_nocheck_add_constraint', 'ignore'");
    RunSql(copy.db, "CREATE TABLE [dbo].[kv_TableScripts] ([NameSchema] sysname, [NameTable] sysname, "
                    "[Script] nvarchar(max))");
    const auto runAlone = [&](const std::string& strFile) {
        CDatabase& db = copy.db;
        for (const char* pszReset : {"SET QUOTED_IDENTIFIER ON", "SET ANSI_NULLS ON", "SET NOCOUNT OFF"})
            RunSql(db, pszReset);
        TRefusals aRefused = RunBatches(db, Batches(ReadWholeFile((folder / strFile).string())));
        if (!strFile.starts_with("Tables/"))
            return aRefused;
        CRecordset rs(&db);
        CString strScript;
        for (rs.Open(CRecordset::snapshot, "SELECT [Script] FROM [dbo].[kv_TableScripts]"); !rs.IsEOF();
             rs.MoveNext())
            rs.GetFieldValue(short{0}, strScript);
        RunSql(db, "DELETE FROM [dbo].[kv_TableScripts]");
        const TRefusals aTable = RunBatches(db, {strScript.Str()});
        aRefused.insert(aRefused.end(), aTable.begin(), aTable.end());
        return aRefused;
    };
    std::vector<std::pair<std::string, TRefusals>> aWaiting;
    for (const std::string& strFile :
         Matches(ReadWholeFile((folder / "manifest.txt").string()), std::regex("(.+)\n")))
        if (TRefusals aRefused = runAlone(strFile); !aRefused.empty())
            aWaiting.emplace_back(strFile, std::move(aRefused));
    for (size_t nBefore = 0; nBefore != aWaiting.size();) {
        nBefore = aWaiting.size();
        std::erase_if(aWaiting, [&](auto& waiting) {
            const bool bModule =
                std::regex_search(waiting.first, std::regex("^(Views|StoredProc|Triggers|Udf)/"));
            return bModule && (waiting.second = runAlone(waiting.first)).empty();
        });
    }
    TRefusals aRefused;
    for (const auto& [strFile, aFileRefused] : aWaiting)
        aRefused.insert(aRefused.end(), aFileRefused.begin(), aFileRefused.end());
    EXPECT_EQ(CountRefusals(aRefused), ReadWholeFile((kLiveDir / "roundtrip" / GetParam()).string()));
}

INSTANTIATE_TEST_SUITE_P(Shipped, CLiveObjectFiles, testing::Values("northwind", "pubs", "scripttest"));

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("SQLSCRIPTS_TEST_CONNECT")) {
        std::cout
            << "live-server tests skipped: SQLSCRIPTS_TEST_CONNECT is not set (tests/live/with-server)\n";
        return 77;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
