// --recreate against a live server: a database exported with it and its rows, and applied to a fresh
// database by sqlscripts apply, describes exactly as the original, through catalog queries of the test's own
// (recreate/describe: a family each, its first column naming the object, the others its properties), apart
// from what the server cannot express or does not report (recreate/server-limits), and holds the same rows;
// changed by diff/<database>.sql, it is migrated back by sqlscripts diff.
#include "DiffSupport.h"
#include "RowCompare.h"

#include "model/ModelLoader.h"
#include "platform/Text.h"
#include "recreate/DdlWriter.h"
#include "recreate/RecreateKinds.h"

#include <iostream>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace {

// The comparison itself: a copy of features.sql's database with differences planted into it (planted.sql)
// shows exactly planted.diff; every query describes something of features.sql's database, and server-limits
// leaves out only what the queries describe.
TEST(LiveRecreateCheck, PlantedDifferencesShowAndNothingElse) {
    TScratchDatabase original("twin_original"), planted("twin_planted");
    for (CDatabase* pDb : {&original.db, &planted.db})
        ASSERT_EQ(Apply(*pDb, kRecreateDir, {"features.sql"}), 0);
    ASSERT_EQ(Apply(planted.db, kRecreateDir, {"planted.sql"}), 0);
    const TDescription description = Describe(original.strName);
    EXPECT_SCRIPT(Differences(description, Describe(planted.strName)),
                  ReadWholeFile((kRecreateDir / "planted.diff").string()));

    for (const std::string& strName : description.names)
        EXPECT_TRUE(
            strName.find('.') != std::string::npos || Limits().leftOut.contains(strName) ||
            std::any_of(description.aLines.begin(), description.aLines.end(),
                        [&](const std::string& strLine) { return strLine.starts_with(strName + " "); }))
            << "nothing of features.sql's database is described as " << strName;
    std::set<std::string> keys = Limits().leftOut;
    for (const auto& [strProperty, pattern] : Limits().matching)
        keys.insert(strProperty);
    for (const std::string& strKey : keys)
        EXPECT_TRUE(description.names.contains(strKey))
            << "server-limits names " << strKey << ", which no query has";
}

// Two databases of the server named by SQLSCRIPTS_COMPARE_SOURCE and SQLSCRIPTS_COMPARE_COPY, compared as the
// round trip compares them (tests/live/recreate/compare); skipped without them.
TEST(LiveRecreateCheck, NamedDatabasesDescribeAlike) {
    const char* pszSource = std::getenv("SQLSCRIPTS_COMPARE_SOURCE");
    const char* pszCopy = std::getenv("SQLSCRIPTS_COMPARE_COPY");
    if (!pszSource || !pszCopy)
        GTEST_SKIP() << "SQLSCRIPTS_COMPARE_SOURCE and SQLSCRIPTS_COMPARE_COPY name no databases";
    ExpectAlike(pszSource, pszCopy);
}

// The feature database, made once for the tests that read it and, last, the one that drops everything in it
// (a suite's tests run in the order they are written).
class CLiveRecreateFeatures : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_features.emplace("features_shared");
        s_bMade = Apply(s_features->db, kRecreateDir, {"features.sql"}) == 0;
    }
    static void TearDownTestSuite() { s_features.reset(); }
    void SetUp() override { ASSERT_TRUE(s_bMade) << "the feature database was not made"; }

    static inline std::optional<TScratchDatabase> s_features;
    static inline bool s_bMade = false;
};

// --exclude-schema and --object pick parts of the feature database: the files hold exactly those objects, the
// warning names what one part needs of the other, and the two apply one after the other to a fresh database
// with nothing refused.
TEST_F(CLiveRecreateFeatures, SelectedObjectsApplyOnceWhatTheyNeedIsThere) {
    TScratchDatabase copy("select_copy");
    const CTempDir dir;
    const std::vector<std::string> aCommon{"--recreate", "--layout",  "objects",
                                           "--quiet",    "--connect", ConnectTo(s_features->strName)};
    std::vector<std::string> aDbo = aCommon, aHr = aCommon;
    aDbo.insert(aDbo.end(),
                {"--exclude-schema", "hr", "--exclude-schema", "Sales*", "--exclude-schema", "it's.odd"});
    aHr.insert(aHr.end(), {"--object", "hr.*", "--exclude-object", "hr.Lines"});
    const THostRun dbo = Export(dir.File("dbo"), aDbo), hr = Export(dir.File("hr"), aHr);
    ASSERT_EQ(dbo.nStatus, 0) << dbo.strErr;
    ASSERT_EQ(hr.nStatus, 0) << hr.strErr;
    EXPECT_EQ(dbo.strErr, "");
    EXPECT_EQ(hr.strErr, "sqlscripts: warning: the objects written need what the selection leaves out: alias "
                         "type dbo.phone, table dbo.Region\n");
    EXPECT_EQ(
        ReadWholeFile(dir.File("dbo/manifest.txt")),
        "Types/dbo.amount.sql\nTypes/dbo.phone.sql\nSequences/dbo.ordernumbers.sql\nFunctions/dbo.Twice.sql\n"
        "Tables/dbo.Audit Log.sql\nTables/dbo.Order.sql\nTables/dbo.Region.sql\n"
        "Indexes/dbo.Audit Log.ix_audit log_when.sql\nIndexes/dbo.Order.cx_order_to.sql\n"
        "Views/dbo.vOrder.sql\nFunctions/dbo.NullIn.sql\nProcedures/dbo.select.sql\n"
        "Triggers/dbo.trOrder Delete.sql\nTriggers/dbo.trvOrder.sql\nExtendedProperties/database.sql\n"
        "ExtendedProperties/dbo.phone.sql\nExtendedProperties/dbo.select.sql\n"
        "ExtendedProperties/dbo.Twice.sql\nExtendedProperties/dbo.vOrder.sql\n");
    EXPECT_EQ(
        ReadWholeFile(dir.File("hr/manifest.txt")),
        "Schemas/hr.sql\nTypes/hr.linelist.sql\nSequences/hr.plain.sql\nTables/hr.Employees.sql\n"
        "Constraints/hr.Employees.ck_employees_names.sql\nConstraints/hr.Employees.ck_employees_rating.sql\n"
        "Indexes/hr.Employees.ix_employees_name.sql\nForeignKeys/hr.Employees.fk_employees_manager.sql\n"
        "ForeignKeys/hr.Employees.fk_employees_region.sql\nViews/hr.Active Employees.sql\n"
        "Views/hr.Active Count.sql\nViews/hr.Checked Regions.sql\nFunctions/hr.EmployeesOf.sql\n"
        "Procedures/hr.Raise.sql\nTriggers/hr.trEmployees.sql\n");
    EXPECT_EQ(Apply(copy.db, dir.File("dbo"), Manifest(dir.File("dbo"))) +
                  Apply(copy.db, dir.File("hr"), Manifest(dir.File("hr"))),
              0);
}

// The drop statements of every kind, in reverse apply order, take the feature database back to an empty one.
TEST_F(CLiveRecreateFeatures, DropsUndoEveryCreateInReverseApplyOrder) {
    TScratchDatabase empty("drops_empty");
    TScratchDatabase& features = *s_features;
    const TCatalogModel model = LoadCatalogModel(features.db);
    const TRecreatePlan plan = PlanRecreate(model);
    const TDdlContext context{model, plan};
    std::string strDrops;
    for (auto it = plan.aOrder.rbegin(); it != plan.aOrder.rend(); ++it) {
        const TPlanStep& step = plan.aSteps[*it];
        strDrops += ScriptText(RecreateKind(step.key.eKind).pfnDrop({step.key, step.object}, context));
    }
    for (const auto& [strStatement, strAnswer] : RunBatches(features.db, Batches(strDrops)))
        ADD_FAILURE() << "refused: " << strAnswer << "\n" << strStatement;
    ExpectAlike(empty.strName, features.strName);
}

// What git says, run in the folder with an author of the test's own.
std::string Git(const fs::path& repo, const std::string& strArgs) {
    return CommandOutput("git -C '" + repo.string() + "' -c user.name=test -c user.email=test@localhost " +
                         strArgs + " 2>&1");
}

// Exports with the rows into DIR/objects (--layout objects) and DIR/sections; the messages of both.
std::string ExportBothLayouts(const fs::path& dir, const std::string& strDatabase, bool bPrune) {
    std::string strErr;
    for (const bool bObjects : {true, false}) {
        std::vector<std::string> aArgs{
            "--recreate", "--data", "--quiet", "--replace", "all", "--connect", ConnectTo(strDatabase)};
        if (bObjects)
            aArgs.insert(aArgs.end(), {"--layout", "objects"});
        if (bPrune)
            aArgs.push_back("--prune");
        const THostRun run = Export((dir / (bObjects ? "objects" : "sections")).string(), aArgs);
        EXPECT_EQ(run.nStatus, 0) << run.strErr;
        strErr += run.strErr;
    }
    return strErr;
}

// A folder under git, exported again with --prune after an index and a procedure were dropped, another
// renamed and a table added: git sees those files deleted, renamed and added, in both layouts, and no other
// file renamed or gone; a file of the user's own stays.
TEST(LiveRecreateFolder, GitSeesWhatChangedInTheDatabaseAndNothingElse) {
    TScratchDatabase shop("folder");
    ASSERT_TRUE(RunBatches(shop.db, Batches(R"(
CREATE TABLE dbo.Customers (CustomerID int NOT NULL PRIMARY KEY, Name nvarchar(40) NOT NULL)
GO
CREATE TABLE dbo.Orders (OrderID int NOT NULL PRIMARY KEY, CustomerID int NOT NULL, Placed date NULL)
GO
CREATE INDEX IX_Orders_Placed ON dbo.Orders (Placed)
GO
CREATE PROCEDURE dbo.First AS SELECT COUNT(*) AS Customers FROM dbo.Customers
GO
CREATE PROCEDURE dbo.Second AS SELECT OrderID, Placed FROM dbo.Orders WHERE Placed IS NOT NULL
GO
INSERT INTO dbo.Customers VALUES (1, N'Ann'), (2, N'Bob')
INSERT INTO dbo.Orders VALUES (10, 1, '2024-01-02'), (11, 2, NULL)
GO
)"))
                    .empty());
    const CTempDir temp;
    const fs::path repo = temp.File("repo");
    fs::create_directories(repo);
    Git(repo, "init -q");
    ExportBothLayouts(repo, shop.strName, false);
    WriteWholeFile((repo / "objects/Procedures/notes.txt").string(), "my own notes\n");
    Git(repo, "add -A");
    Git(repo, "commit -q -m first");

    ASSERT_TRUE(RunBatches(shop.db, Batches(R"(
DROP INDEX IX_Orders_Placed ON dbo.Orders
GO
DROP PROCEDURE dbo.First
GO
EXEC sp_rename 'dbo.Second', 'Third', 'OBJECT'
GO
CREATE TABLE dbo.Added (AddedID int NOT NULL PRIMARY KEY)
GO
INSERT INTO dbo.Added VALUES (1)
GO
)"))
                    .empty());
    EXPECT_EQ(
        ExportBothLayouts(repo, shop.strName, true),
        "sqlscripts: warning: procedure dbo.Third was renamed: its stored text, and so its script, creates "
        "dbo.Second\n"
        "sqlscripts: removed 3 files an earlier export wrote and this one did not: "
        "Indexes/dbo.Orders.ix_orders_placed.sql, Procedures/dbo.First.sql, Procedures/dbo.Second.sql\n"
        "sqlscripts: warning: procedure dbo.Third was renamed: its stored text, and so its script, creates "
        "dbo.Second\n"
        "sqlscripts: removed 1 file an earlier export wrote and this one did not: 09-Indexes.sql\n");
    Git(repo, "add -A");
    std::istringstream status(Git(repo, "status --porcelain"));
    std::vector<std::string> aLines;
    for (std::string strLine; std::getline(status, strLine);)
        aLines.push_back(strLine);
    std::sort(aLines.begin(), aLines.end());
    EXPECT_EQ(JoinText(aLines, "\n"),
              "A  objects/Data/dbo.Added.sql\n"
              "A  objects/Tables/dbo.Added.sql\n"
              "A  sections/07-Data/dbo.Added.sql\n"
              "D  objects/Indexes/dbo.Orders.ix_orders_placed.sql\n"
              "D  objects/Procedures/dbo.First.sql\n"
              "D  sections/09-Indexes.sql\n"
              "M  objects/manifest.txt\n"
              "M  sections/06-Tables.sql\n"
              "M  sections/12-Procedures.sql\n"
              "M  sections/manifest.txt\n"
              "R  objects/Procedures/dbo.Second.sql -> objects/Procedures/dbo.Third.sql");
}

// Each table's row count, a line each.
std::string RowCounts(CDatabase& db) {
    std::string strCounts;
    for (const nlohmann::json& row :
         Answer(db, "SELECT CAST(s.name AS nvarchar(128)), CAST(t.name AS nvarchar(128)) FROM sys.tables t "
                    "JOIN sys.schemas s ON s.schema_id = t.schema_id ORDER BY s.name, t.name")["rows"]) {
        const std::string strTable =
            "[" + row[0].get<std::string>() + "].[" + row[1].get<std::string>() + "]";
        strCounts += strTable + " " +
                     Answer(db, "SELECT COUNT(*) FROM " + strTable)["rows"][0][0].get<std::string>() + "\n";
    }
    return strCounts;
}

// northwind as one stream (--output -) with its rows and the drops of --clean, applied twice to the same
// database: nothing refused but what server-limits allows, and the database describes as northwind and holds
// its rows once.
TEST(LiveRecreateFolder, CleanStreamAppliesTwiceToTheSameDatabase) {
    const CTempDir dir;
    const THostRun run = RunHost(
        {"export", "--recreate", "--data", "--clean", "--output", "-", "--connect", ConnectTo("northwind")},
        dir.File(""));
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(run.strErr, "");
    TScratchDatabase copy("stream");
    EXPECT_EQ(ApplyScript(copy.db, "the stream", run.strOut), 0);
    EXPECT_EQ(ApplyScript(copy.db, "the stream, again", run.strOut), 0);
    ExpectAlike("northwind", copy.strName);
    CDatabase northwind;
    northwind.OpenEx(ConnectTo("northwind").c_str(), CDatabase::noOdbcDialog);
    EXPECT_EQ(RowCounts(copy.db), RowCounts(northwind));
}

// Every object's and column's name, as nvarchar: this server sends sysname in a code page without Cyrillic.
std::string Names(CDatabase& db) {
    return Answer(db, "SELECT CAST(o.name AS nvarchar(128)), o.type, CAST(c.name AS nvarchar(128)) "
                      "FROM sys.objects o LEFT JOIN sys.columns c ON c.object_id = o.object_id "
                      "WHERE o.is_ms_shipped = 0 ORDER BY 1, 3")["rows"]
        .dump();
}

// Applies an export's folder with sqlscripts apply, going on after refusals, the settings of server-limits
// first. A refusal that server-limits allows is printed, any other fails the test.
void ApplyExport(const std::string& strDatabase, const fs::path& dir, int nJobs) {
    AddServerSettings(dir);
    const THostRun run =
        ApplyTo(strDatabase, dir.string(), {"--continue", "--quiet", "--jobs", std::to_string(nJobs)});
    std::string strOther;
    for (const TApplyRefusal& refusal : ApplyRefusals(run.strErr, strOther)) {
        const std::string strBatch = BatchAt(ReadWholeFile((dir / refusal.strFile).string()), refusal.nLine);
        const std::string strRefusal = refusal.strFile + ":" + std::to_string(refusal.nLine) + ": " +
                                       refusal.strMessage + "\n" + strBatch;
        if (std::any_of(Limits().matching.begin(), Limits().matching.end(),
                        [&](const auto& rule) { return std::regex_search(strBatch, rule.second); }))
            std::cout << "refused, as server-limits allows: " << strRefusal;
        else
            ADD_FAILURE() << "refused: " << strRefusal;
    }
    EXPECT_TRUE(std::regex_match(strOther, std::regex("(sqlscripts: [0-9]+ batch(es)? refused\n)?")))
        << strOther;
}

// Tables, columns, a view and a trigger named in Cyrillic come back by their names, and with their rows.
TEST(LiveRecreateNames, NamesInAnotherScriptComeBackWhole) {
    TScratchDatabase source("cyrillic");
    std::vector<std::string> aBatches =
        Batches(ReadWholeFile((kLiveDir / "damaged-names/setup.sql").string()));
    aBatches.insert(aBatches.end(),
                    {"CREATE TRIGGER dbo.Проверка ON dbo.Заказы AFTER INSERT AS SET NOCOUNT ON",
                     "INSERT INTO dbo.Заказы VALUES (1, 10), (2, NULL)",
                     "INSERT INTO dbo.Товары VALUES (7, N'Чай')"});
    ASSERT_EQ(RunBatches(source.db, aBatches), TRefusals{});
    ASSERT_NE(Names(source.db).find("Проверка"), std::string::npos);
    for (const bool bData : {false, true}) {
        const CTempDir dir;
        std::vector<std::string> aArgs = {"--recreate", "--connect", ConnectTo(source.strName), "--quiet"};
        if (bData)
            aArgs.push_back("--data");
        const THostRun run = Export(dir.File("out"), aArgs);
        ASSERT_EQ(run.nStatus, 0) << run.strErr;
        EXPECT_EQ(run.strErr, "");
        TScratchDatabase copy(bData ? "cyrillic_rows" : "cyrillic_copy");
        ApplyExport(copy.strName, dir.File("out"), 1);
        EXPECT_EQ(Names(copy.db), Names(source.db));
        if (bData) {
            EXPECT_EQ(RowCounts(copy.db), RowCounts(source.db));
        }
    }
}

struct TRecreated {
    std::string strDatabase;
    int nJobs; // the connections apply loads the rows on
};

class CLiveRecreate : public testing::TestWithParam<TRecreated> {};

// Exported with its rows and applied by sqlscripts apply, a database comes back with every object as the
// catalog describes it and every row, value by value.
TEST_P(CLiveRecreate, AppliesToAFreshDatabaseAndDescribesAlike) {
    std::optional<TScratchDatabase> features;
    std::string strSource = GetParam().strDatabase;
    if (strSource == "features") {
        features.emplace("features");
        ASSERT_EQ(Apply(features->db, kRecreateDir, {"features.sql"}), 0);
        strSource = features->strName;
    }
    const CTempDir dir;
    const THostRun run = Export(
        dir.File("out"), {"--recreate", "--data", "--connect", ConnectTo(strSource), "--replace", "all"});
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    Manifest(dir.File("out"));
    TScratchDatabase copy("recreated_" + GetParam().strDatabase);
    ApplyExport(copy.strName, dir.File("out"), GetParam().nJobs);
    ExpectAlike(strSource, copy.strName);
    for (const std::string& strDifference : RowDifferences(strSource, copy.strName))
        ADD_FAILURE() << strDifference;
    // The copy changed by SQL of the test's own, then migrated back by sqlscripts diff to its state before,
    // recorded in a snapshot, which holds what the server could recreate of the original (the feature
    // database has a test of its own, both ways, between live databases).
    if (GetParam().strDatabase == "features" || ::testing::Test::HasFailure())
        return;
    const std::string strBefore = dir.File("before.json");
    const THostRun recorded =
        Export(dir.File("recorded"),
               {"--recreate", "--connect", ConnectTo(copy.strName), "--save-snapshot", strBefore, "--quiet"});
    ASSERT_EQ(recorded.nStatus, 0) << recorded.strErr;
    ASSERT_EQ(Apply(copy.db, kDiffDir, {GetParam().strDatabase + ".sql"}), 0);
    ExpectMigrated(copy, strBefore, strSource);
}

INSTANTIATE_TEST_SUITE_P(Databases, CLiveRecreate,
                         testing::Values(TRecreated{"features", 1}, TRecreated{"northwind", 2},
                                         TRecreated{"pubs", 1}, TRecreated{"scripttest", 2},
                                         TRecreated{"bulk", 2}),
                         [](const testing::TestParamInfo<TRecreated>& info) {
                             return info.param.strDatabase;
                         });

} // namespace
