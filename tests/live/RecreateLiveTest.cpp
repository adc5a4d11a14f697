// --recreate against a live server: a database exported with it and its rows, and applied to a fresh
// database by sqlscripts apply, describes exactly as the original, through catalog queries of the test's own
// (recreate/describe: a family each, its first column naming the object, the others its properties), apart
// from what the server cannot express or does not report (recreate/server-limits), and holds the same rows;
// changed by diff/<database>.sql, it is migrated back by sqlscripts diff.
#include "DiffSupport.h"
#include "RowCompare.h"

#include "model/ModelLoader.h"
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

// The drop statements of every kind, in reverse apply order, take the feature database back to an empty one.
TEST(LiveRecreateCheck, DropsUndoEveryCreateInReverseApplyOrder) {
    TScratchDatabase empty("drops_empty"), features("drops");
    ASSERT_EQ(Apply(features.db, kRecreateDir, {"features.sql"}), 0);
    const TCatalogModel model = LoadCatalogModel(features.db);
    const TRecreatePlan plan = PlanRecreate(model);
    const TDdlContext context{model, plan};
    std::string strDrops;
    for (auto it = plan.aOrder.rbegin(); it != plan.aOrder.rend(); ++it) {
        const TPlanStep& step = plan.aSteps[*it];
        strDrops += RecreateKind(step.key.eKind).pfnDrop(step, context);
    }
    for (const auto& [strStatement, strAnswer] : RunBatches(features.db, Batches(strDrops)))
        ADD_FAILURE() << "refused: " << strAnswer << "\n" << strStatement;
    ExpectAlike(empty.strName, features.strName);
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
