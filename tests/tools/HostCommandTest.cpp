// The sqlscripts program end to end on catalog snapshots: what it writes, prints and exits with.
#include "export/ExportTestSupport.h"
#include "scripting/ScriptTestSupport.h"
#include "tools/HostRunner.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const std::vector<std::string> kNoFiles;

class HostCommandTest : public ::testing::Test {
protected:
    static std::string Tiny() { return FixturePath("tiny/snapshot.json"); }
    static std::string TinyExpected(const std::string& strName) {
        return ReadFixtureFile("tiny/expected/" + strName);
    }

    THostRun Run(const std::vector<std::string>& aArgs) const { return RunHost(aArgs, m_dir.File("")); }
    std::string Out(const std::string& strName = "") const {
        return strName.empty() ? m_dir.File("out") : m_dir.File("out/" + strName);
    }

    // The names of the files in the output folder.
    std::vector<std::string> OutFiles() const {
        std::vector<std::string> aNames;
        if (std::filesystem::exists(Out()))
            for (const auto& entry : std::filesystem::directory_iterator(Out()))
                aNames.push_back(entry.path().filename().string());
        std::sort(aNames.begin(), aNames.end());
        return aNames;
    }

    void PlaceOldFile(const std::string& strName) {
        std::filesystem::create_directories(Out());
        WriteWholeFile(Out(strName), "old");
    }

    void ExpectTinyExport() const {
        for (const std::string& strName : DefaultFileNames())
            EXPECT_SCRIPT(ReadWholeFile(Out(strName)), TinyExpected(strName)) << strName;
        EXPECT_EQ(OutFiles().size(), DefaultFileNames().size());
    }

    // One line on stderr, naming the program.
    static void ExpectOneLine(const THostRun& run) {
        EXPECT_THAT(run.strErr, StartsWith("sqlscripts: "));
        EXPECT_EQ(std::count(run.strErr.begin(), run.strErr.end(), '\n'), 1) << run.strErr;
        EXPECT_EQ(run.strErr.back(), '\n');
    }

    CTempDir m_dir;
};

TEST_F(HostCommandTest, ExportWritesTheThirteenFilesAndSaysWhere) {
    for (const char* pszMode : {"sequential", "parallel"}) {
        SCOPED_TRACE(pszMode);
        std::filesystem::remove_all(Out());
        std::vector<std::string> aArgs = {"export", "--snapshot", Tiny(), "--dir", Out()};
        if (std::string(pszMode) == "parallel")
            aArgs.push_back("--parallel");
        const THostRun run = Run(aArgs);
        EXPECT_EQ(run.nStatus, 0) << run.strErr;
        EXPECT_EQ(run.strOut, "");
        EXPECT_EQ(run.strErr, "sqlscripts: scripts written to " + Out() + "\n");
        ExpectTinyExport();
    }
}

TEST_F(HostCommandTest, ExportChoosesCategoriesAndFileNames) {
    const THostRun run = Run({"export", "--snapshot", Tiny(), "--dir", Out(), "--only", "views,pk,tables",
                              "--skip", "tables", "--file", "views=AllViews.sql"});
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"AllViews.sql", "PK.sql"}));
    EXPECT_SCRIPT(ReadWholeFile(Out("AllViews.sql")), TinyExpected("Views.sql"));
    EXPECT_SCRIPT(ReadWholeFile(Out("PK.sql")), TinyExpected("PK.sql"));
}

TEST_F(HostCommandTest, ExportKeepsCollationWhenAsked) {
    const THostRun run =
        Run({"export", "--snapshot", Tiny(), "--dir", Out(), "--only", "tables", "--collation"});
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(
        ReadWholeFile(Out("Tables.sql")),
        "SET NOCOUNT ON\r\nGO\r\n\r\n"
        "INSERT INTO [dbo].[kv_TableScripts] ([NameSchema], [NameTable], [Script]) VALUES ('dbo', 'Totals', "
        "'CREATE TABLE [dbo].[Totals] ( \t[Id] [int] IDENTITY(1, 1) NOT NULL,\t[Name] [nvarchar](50) COLLATE "
        "SQL_Latin1_General_CP1_CI_AS  NULL )')\r\n"
        "\r\nSET NOCOUNT OFF\r\nGO\r\n");
}

TEST_F(HostCommandTest, ExistingFileStopsTheRunUnlessOverwritingIsAllowed) {
    // Without a terminal nobody can be asked, so "ask" and the default refuse as "never" does.
    for (const std::vector<std::string>& aReplace :
         {std::vector<std::string>{"--replace", "never"}, std::vector<std::string>{"--replace", "ask"},
          std::vector<std::string>{}}) {
        SCOPED_TRACE(aReplace.empty() ? "default" : aReplace[1]);
        std::filesystem::remove_all(Out());
        PlaceOldFile("PK.sql");
        std::vector<std::string> aArgs = {"export", "--snapshot", Tiny(), "--dir", Out()};
        aArgs.insert(aArgs.end(), aReplace.begin(), aReplace.end());
        const THostRun run = Run(aArgs);
        EXPECT_EQ(run.nStatus, 1);
        ExpectOneLine(run);
        EXPECT_THAT(run.strErr, HasSubstr("PK.sql"));
        EXPECT_THAT(run.strErr, HasSubstr("--replace all"));
        // The categories before it were written, nothing after it.
        EXPECT_EQ(OutFiles(), (std::vector<std::string>{"Defaults.sql", "PK.sql", "Tables.sql", "Udt.sql"}));
        EXPECT_EQ(ReadWholeFile(Out("PK.sql")), "old");
        EXPECT_SCRIPT(ReadWholeFile(Out("Tables.sql")), TinyExpected("Tables.sql"));
    }
}

TEST_F(HostCommandTest, ReplaceAllOverwrites) {
    PlaceOldFile("PK.sql");
    PlaceOldFile("Udf.sql");
    const THostRun run = Run({"export", "--snapshot", Tiny(), "--dir", Out(), "--replace", "all"});
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    ExpectTinyExport();
}

// Each expected object and column list of the example catalog, printed exactly on stdout.
TEST_F(HostCommandTest, ObjectAndFieldsPrintExactText) {
    const struct {
        std::vector<std::string> aArgs;
        std::string strExpectedFile;
    } aCases[] = {
        {{"object", "Totals"}, "objects/Totals.sql"},
        {{"object", "vTotals"}, "objects/vTotals.sql"},
        {{"object", "PK_Totals"}, "objects/PK_Totals.sql"},
        {{"object", "PK_Totals", "--type", "pk"}, "objects/PK_Totals.sql"},
        {{"fields", "Totals"}, "fields/Totals.txt"},
        {{"fields", "vTotals"}, "fields/vTotals.txt"},
    };
    for (const auto& test : aCases) {
        SCOPED_TRACE(test.strExpectedFile);
        std::vector<std::string> aArgs = test.aArgs;
        aArgs.insert(aArgs.end(), {"--snapshot", Tiny()});
        const THostRun run = Run(aArgs);
        EXPECT_EQ(run.nStatus, 0);
        EXPECT_EQ(run.strErr, "");
        EXPECT_SCRIPT(run.strOut, TinyExpected(test.strExpectedFile));
    }
}

TEST_F(HostCommandTest, ObjectKeepsCollationWhenAsked) {
    const THostRun run = Run({"object", "Totals", "--collation", "--snapshot", Tiny()});
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(run.strOut, "\r\nCREATE TABLE [dbo].[Totals] (\r\n \t[Id] [int] IDENTITY(1, 1) NOT NULL,\r\n"
                          "\t[Name] [nvarchar](50) COLLATE SQL_Latin1_General_CP1_CI_AS  NULL )\r\nGO ");
}

// With --type the stated category is scripted, whatever the object's own type: a table's foreign keys.
TEST_F(HostCommandTest, StatedTypeScriptsThatCategory) {
    const THostRun run = Run({"object", "Totals", "--type", "fk", "--snapshot", Tiny()});
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_EQ(run.strOut, TinyExpected("explicit/eSqlFK/Totals.sql"));
    EXPECT_EQ(run.strErr, "sqlscripts: nothing to script for Totals\n");
}

TEST_F(HostCommandTest, StatedTypeErrorIsOneLine) {
    const THostRun run =
        Run({"object", "Broken", "--type", "tables", "--snapshot", FixturePath("api/catalog.json")});
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_EQ(run.strOut, "");
    EXPECT_EQ(run.strErr,
              "sqlscripts: Ошибка создания скрипта. The SELECT permission was denied on the object "
              "'columns'.\n");
}

TEST_F(HostCommandTest, NotFoundObjectsFail) {
    const THostRun object = Run({"object", "Elsewhere", "--snapshot", FixturePath("api/catalog.json")});
    EXPECT_EQ(object.nStatus, 1);
    EXPECT_EQ(object.strOut, "");
    EXPECT_EQ(object.strErr, "sqlscripts: Ошибка. Некорректные параметры функции.\n");

    const THostRun fields = Run({"fields", "GetOrders", "--snapshot", FixturePath("api/catalog.json")});
    EXPECT_EQ(fields.nStatus, 1);
    EXPECT_EQ(fields.strOut, "");
    EXPECT_EQ(fields.strErr, "sqlscripts: GetOrders is not a table or view of schema dbo\n");
}

TEST_F(HostCommandTest, BadUsageIsOneLineAndStatusTwo) {
    const std::vector<std::vector<std::string>> aCases = {
        {},
        {"unpack"},
        {"export"},
        {"export", "--snapshot", Tiny(), "--connect", "DSN=x"},
        {"export", "--snapshot", Tiny(), "--save-snapshot", "saved.json"},
        {"export", "--snapshot", Tiny(), "--replace", "sometimes"},
        {"export", "--snapshot", Tiny(), "--only", "views,spells"},
        {"export", "--snapshot", Tiny(), "--file", "views"},
        {"export", "--snapshot", Tiny(), "--file", "spells=x.sql"},
        {"export", "--snapshot", Tiny(), "--file", "views="},
        {"export", "--snapshot", Tiny(), "--frobnicate"},
        {"object", "--snapshot", Tiny()},
        {"object", "", "--snapshot", Tiny()},
        {"object", "Totals", "--type", "spells", "--snapshot", Tiny()},
        {"fields", "--snapshot", Tiny()},
        {"demo", "extra"},
    };
    for (const std::vector<std::string>& aArgs : aCases) {
        std::string strCase;
        for (const std::string& strArg : aArgs)
            strCase += "[" + strArg + "] ";
        SCOPED_TRACE(strCase);
        const THostRun run = Run(aArgs);
        EXPECT_EQ(run.nStatus, 2);
        EXPECT_EQ(run.strOut, "");
        ExpectOneLine(run);
    }
    EXPECT_EQ(OutFiles(), kNoFiles);
}

TEST_F(HostCommandTest, MissingSnapshotFails) {
    const std::string strMissing = m_dir.File("missing.json");
    for (const std::vector<std::string>& aArgs :
         {std::vector<std::string>{"export", "--snapshot", strMissing, "--dir", Out()},
          std::vector<std::string>{"object", "Totals", "--snapshot", strMissing},
          std::vector<std::string>{"fields", "Totals", "--snapshot", strMissing}}) {
        SCOPED_TRACE(aArgs[0]);
        const THostRun run = Run(aArgs);
        EXPECT_EQ(run.nStatus, 1);
        ExpectOneLine(run);
        EXPECT_THAT(run.strErr, HasSubstr("missing.json"));
        EXPECT_EQ(OutFiles(), kNoFiles);
    }
}

TEST_F(HostCommandTest, UnreachableServerFailsWithoutShowingThePassword) {
    const std::vector<std::string> aConnects = {
        "DRIVER=/nonexistent/libnothing.so;SERVER=127.0.0.1;DATABASE=Sales;UID=reader;PWD=secret",
        "DSN=NoSuchSource;UID=reader;Password={se;cret}",
    };
    for (const std::string& strConnect : aConnects) {
        for (const std::vector<std::string>& aCommand :
             {std::vector<std::string>{"export", "--dir", Out()},
              std::vector<std::string>{"object", "Totals"}, std::vector<std::string>{"fields", "Totals"}}) {
            SCOPED_TRACE(strConnect + " " + aCommand[0]);
            std::vector<std::string> aArgs = aCommand;
            aArgs.insert(aArgs.end(), {"--connect", strConnect});
            const THostRun run = Run(aArgs);
            EXPECT_EQ(run.nStatus, 1);
            EXPECT_EQ(run.strOut, "");
            ExpectOneLine(run);
            EXPECT_THAT(run.strErr, StartsWith("sqlscripts: cannot connect: "));
            EXPECT_THAT(run.strErr, Not(HasSubstr("secret")));
            EXPECT_THAT(run.strErr, Not(HasSubstr("cret")));
        }
    }
    EXPECT_EQ(OutFiles(), kNoFiles);
}

TEST_F(HostCommandTest, HelpAndVersionSucceed) {
    for (const std::vector<std::string>& aArgs :
         {std::vector<std::string>{"--help"}, std::vector<std::string>{"export", "--help"},
          std::vector<std::string>{"--version"}}) {
        const THostRun run = Run(aArgs);
        EXPECT_EQ(run.nStatus, 0);
        EXPECT_THAT(run.strOut, HasSubstr("sqlscripts"));
    }
}

} // namespace

namespace {

// The bundled sample catalog, exported by the demo, byte for byte.
class HostDemoTest : public HostCommandTest {
protected:
    void ExpectSampleExport(const std::string& strDir) const {
        for (const std::string& strName : DefaultFileNames())
            EXPECT_SCRIPT(ReadWholeFile(strDir + "/" + strName),
                          ReadFixtureFile("sample/expected/" + strName))
                << strName;
        EXPECT_EQ(
            std::distance(std::filesystem::directory_iterator(strDir), std::filesystem::directory_iterator()),
            static_cast<long>(DefaultFileNames().size()));
    }
};

TEST_F(HostDemoTest, WritesTheSampleIntoTheGivenFolderAndSaysWhere) {
    const THostRun run = Run({"demo", "--dir", Out()});
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_EQ(run.strOut, "");
    EXPECT_EQ(run.strErr, "sqlscripts: scripts written to " + Out() + "\n");
    ExpectSampleExport(Out());

    // Run again: the files are overwritten without a question.
    const THostRun again = Run({"demo", "--dir", Out()});
    EXPECT_EQ(again.nStatus, 0) << again.strErr;
    ExpectSampleExport(Out());
}

TEST_F(HostDemoTest, DefaultFolderIsInTheWorkingFolder) {
    const THostRun run = Run({"demo"});
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_EQ(run.strErr, "sqlscripts: scripts written to " + m_dir.File("sqlscripts-demo") + "\n");
    ExpectSampleExport(m_dir.File("sqlscripts-demo"));
}

// The sample answers a parallel run as well, whichever category asks first.
TEST_F(HostDemoTest, SampleExportsTheSameInParallel) {
    const THostRun run =
        Run({"export", "--snapshot", std::string(SQLSCRIPTS_SAMPLE), "--dir", Out(), "--parallel"});
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    ExpectSampleExport(Out());
}

} // namespace
