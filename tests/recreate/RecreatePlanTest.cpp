// The apply order of small hand-made models: every object after what it needs, functions that tables use
// before the tables, cycles reported and still ordered, soft needs given up first.
#include "recreate/RecreatePlan.h"
#include "recreate/ModelParts.h"
#include "recreate/RecreateKinds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace model_parts;

TCatalogModel Model() {
    TCatalogModel model;
    model.aSchemas.push_back({"dbo", "dbo", true});
    return model;
}

// The steps of the plan in apply order, each as its kind and name: "table:dbo.Orders".
std::vector<std::string> Order(const TRecreatePlan& plan) {
    std::vector<std::string> aOrder;
    for (size_t nStep : plan.aOrder) {
        const TModelKey& key = plan.aSteps[nStep].key;
        std::string strName = key.strSchema.empty() ? key.strName : key.strSchema + "." + key.strName;
        aOrder.push_back(std::string(RecreateKind(key.eKind).strName) + ":" + strName);
    }
    return aOrder;
}

const TPlanStep& StepNamed(const TRecreatePlan& plan, eModelKind eKind, const std::string& strName) {
    const auto it = std::find_if(plan.aSteps.begin(), plan.aSteps.end(), [&](const TPlanStep& step) {
        return step.key.eKind == eKind && step.key.strName == strName;
    });
    EXPECT_NE(it, plan.aSteps.end()) << strName;
    return *it;
}

using testing::ElementsAre;

TEST(RecreatePlan, AForeignKeyComesAfterTheTablesAndTheUniqueIndexItReferences) {
    TCatalogModel model = Model();
    model.aSchemas.push_back({"Sales", "dbo", false});
    TModelTable lines = Table("Sales", "Lines");
    lines.aColumns.push_back(Column("ParentId"));
    lines.aForeignKeys.push_back(ForeignKey("FK_Lines_Orders", "Sales", "Orders", "UX_Orders_Number"));
    TModelTable orders = Table("Sales", "Orders");
    orders.aColumns.push_back(Column("Number"));
    orders.aIndexes.push_back(Index("UX_Orders_Number", eModelIndexKind::Index, "Number"));
    model.aTables = {lines, orders};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    EXPECT_THAT(Order(plan),
                ElementsAre("schema:Sales", "table:Sales.Lines", "table:Sales.Orders",
                            "index:Sales.UX_Orders_Number", "foreign key:Sales.FK_Lines_Orders"));
    EXPECT_TRUE(plan.aCycles.empty());
    const TPlanStep& fk = StepNamed(plan, eModelKind::ForeignKey, "FK_Lines_Orders");
    EXPECT_EQ(fk.eSection, eRecreateSection::ForeignKeys);
    EXPECT_EQ(fk.key.strTable, "Lines");
    // Its own table, the referenced one, the key index and the schema, each once.
    EXPECT_EQ(fk.aNeeds.size(), 4u);
    for (const TPlanNeed& need : fk.aNeeds)
        EXPECT_FALSE(need.bSoft);
}

TEST(RecreatePlan, AViewComesAfterTheViewItSelectsFromWhateverTheirNames) {
    TCatalogModel model = Model();
    model.aModules = {Module("A_Summary", "V", "CREATE VIEW dbo.A_Summary AS SELECT n FROM [dbo].[B_Detail]"),
                      Module("B_Detail", "V", "CREATE VIEW dbo.B_Detail AS SELECT n FROM dbo.C_Base"),
                      Module("C_Base", "V", "CREATE VIEW dbo.C_Base AS SELECT 1 AS n")};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    EXPECT_THAT(Order(plan), ElementsAre("view:dbo.C_Base", "view:dbo.B_Detail", "view:dbo.A_Summary"));
    EXPECT_TRUE(plan.aCycles.empty());
}

TEST(RecreatePlan, AViewNamingAProcedureDoesNotNeedIt) {
    TCatalogModel model = Model();
    // A column of the view named as a procedure is: only a procedure or a trigger runs one.
    model.aModules = {Module("A_View", "V", "CREATE VIEW dbo.A_View AS SELECT Z_Proc FROM dbo.Other"),
                      Module("Z_Proc", "P", "CREATE PROCEDURE dbo.Z_Proc AS EXEC dbo.Y_Proc"),
                      Module("Y_Proc", "P", "CREATE PROCEDURE dbo.Y_Proc AS SELECT 1")};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    EXPECT_TRUE(StepNamed(plan, eModelKind::View, "A_View").aNeeds.empty());
    const TPlanStep& caller = StepNamed(plan, eModelKind::Procedure, "Z_Proc");
    ASSERT_EQ(caller.aNeeds.size(), 1u);
    EXPECT_TRUE(caller.aNeeds.front().bSoft);
    EXPECT_THAT(Order(plan), ElementsAre("view:dbo.A_View", "procedure:dbo.Y_Proc", "procedure:dbo.Z_Proc"));
}

TEST(RecreatePlan, AFunctionAComputedColumnUsesComesBeforeTheTableWithWhatItUses) {
    TCatalogModel model = Model();
    TModelTable prices = Table("dbo", "Prices");
    prices.aColumns.push_back(Column("Amount"));
    TModelColumn gross = Column("Gross");
    gross.computed = TModelComputed{"([dbo].[fnGross]([Amount]))", false};
    prices.aColumns.push_back(gross);
    model.aTables = {prices};
    model.aModules = {
        Module("fnGross", "FN",
               "CREATE FUNCTION dbo.fnGross(@n int) RETURNS int AS BEGIN RETURN @n * dbo.fnRate() END"),
        Module("fnRate", "FN", "CREATE FUNCTION dbo.fnRate() RETURNS int AS BEGIN RETURN 2 END"),
        Module("fnUnused", "FN", "CREATE FUNCTION dbo.fnUnused() RETURNS int AS BEGIN RETURN 3 END")};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    EXPECT_THAT(Order(plan), ElementsAre("function:dbo.fnRate", "function:dbo.fnGross", "table:dbo.Prices",
                                         "function:dbo.fnUnused"));
    EXPECT_EQ(StepNamed(plan, eModelKind::Function, "fnGross").eSection, eRecreateSection::TableFunctions);
    EXPECT_EQ(StepNamed(plan, eModelKind::Function, "fnRate").eSection, eRecreateSection::TableFunctions);
    EXPECT_EQ(StepNamed(plan, eModelKind::Function, "fnUnused").eSection,
              eRecreateSection::ViewsAndFunctions);
}

TEST(RecreatePlan, ADefaultGoesIntoItsColumnUnlessWhatItCallsNeedsTheTable) {
    TCatalogModel model = Model();
    TModelTable orders = Table("dbo", "Orders");
    orders.aColumns.push_back(Column("Status"));
    orders.aColumns.push_back(Column("Rank"));
    orders.aColumns.push_back(Column("Region"));
    orders.aDefaults = {{"DF_Orders_Status", "Status", "((0))"},
                        {"DF_Orders_Rank", "Rank", "([dbo].[fnNextRank]())"},
                        {"DF_Orders_Region", "Region", "([dbo].[fnHome]())"}};
    model.aTables = {orders};
    model.aModules = {
        Module("fnNextRank", "FN",
               "CREATE FUNCTION dbo.fnNextRank() RETURNS int AS BEGIN RETURN (SELECT COUNT(*) FROM "
               "dbo.Orders) END"),
        Module("fnHome", "FN", "CREATE FUNCTION dbo.fnHome() RETURNS int AS BEGIN RETURN 1 END")};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    std::vector<std::string> aInline;
    for (const TModelDefault* pDefault : plan.setInlineDefaults)
        aInline.push_back(pDefault->strName);
    std::sort(aInline.begin(), aInline.end());
    EXPECT_THAT(aInline, ElementsAre("DF_Orders_Region", "DF_Orders_Status"));
    // The function that reads the table comes with the table; the default that calls it after both.
    EXPECT_THAT(Order(plan), ElementsAre("function:dbo.fnHome", "table:dbo.Orders", "function:dbo.fnNextRank",
                                         "default:dbo.DF_Orders_Rank"));
    EXPECT_EQ(StepNamed(plan, eModelKind::Function, "fnNextRank").eSection, eRecreateSection::Tables);
}

TEST(RecreatePlan, ViewsThatSelectFromEachOtherAreReportedAsACycleAndStillOrdered) {
    TCatalogModel model = Model();
    model.aModules = {Module("vFirst", "V", "CREATE VIEW dbo.vFirst AS SELECT n FROM dbo.vSecond"),
                      Module("vSecond", "V", "CREATE VIEW dbo.vSecond AS SELECT n FROM dbo.vFirst"),
                      Module("vThird", "V", "CREATE VIEW dbo.vThird AS SELECT n FROM dbo.vFirst")};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    EXPECT_THAT(Order(plan), ElementsAre("view:dbo.vFirst", "view:dbo.vSecond", "view:dbo.vThird"));
    ASSERT_EQ(plan.aCycles.size(), 1u);
    std::vector<std::string> aCycle;
    for (size_t nStep : plan.aCycles.front())
        aCycle.push_back(plan.aSteps[nStep].key.strName);
    EXPECT_THAT(aCycle, ElementsAre("vFirst", "vSecond"));
}

TEST(RecreatePlan, SoftNeedsAreGivenUpFirstInACycle) {
    TCatalogModel model = Model();
    // The view needs the function hard; the function's body reads the view, which it need not find.
    model.aModules = {
        Module("aView", "V", "CREATE VIEW dbo.aView AS SELECT dbo.zCount() AS n"),
        Module(
            "zCount", "FN",
            "CREATE FUNCTION dbo.zCount() RETURNS int AS BEGIN RETURN (SELECT COUNT(*) FROM dbo.aView) END")};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    EXPECT_THAT(Order(plan), ElementsAre("function:dbo.zCount", "view:dbo.aView"));
    EXPECT_TRUE(plan.aCycles.empty());
}

TEST(RecreatePlan, ASchemaBoundFunctionNeedsWhatItReadsHard) {
    TCatalogModel model = Model();
    model.aModules = {
        Module("aView", "V", "CREATE VIEW dbo.aView AS SELECT dbo.zCount() AS n"),
        Module("zCount", "FN",
               "CREATE FUNCTION dbo.zCount() RETURNS int WITH SCHEMABINDING AS BEGIN RETURN (SELECT COUNT(*) "
               "FROM dbo.aView) END",
               true)};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    ASSERT_EQ(plan.aCycles.size(), 1u);
    EXPECT_EQ(plan.aCycles.front().size(), 2u);
    EXPECT_EQ(plan.aOrder.size(), 2u);
}

TEST(RecreatePlan, ProceduresCallingEachOtherAreNoCycle) {
    TCatalogModel model = Model();
    model.aModules = {Module("usp_Pong", "P", "CREATE PROCEDURE dbo.usp_Pong AS EXEC dbo.usp_Ping"),
                      Module("usp_Ping", "P", "CREATE PROCEDURE dbo.usp_Ping AS EXEC dbo.usp_Pong")};
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    EXPECT_THAT(Order(plan), ElementsAre("procedure:dbo.usp_Ping", "procedure:dbo.usp_Pong"));
    EXPECT_TRUE(plan.aCycles.empty());
}

TEST(RecreatePlan, TheServersReferencesOverrideTheNamesInTheText) {
    TCatalogModel model = Model();
    model.aSchemas.push_back({"Sales", "dbo", false});
    // Unqualified in a view of Sales: the server resolved it to dbo's, though Sales has one of the name too.
    model.aModules = {Module("vTotals", "V", "CREATE VIEW Sales.vTotals AS SELECT n FROM Orders")};
    model.aModules.front().strSchema = "Sales";
    model.aTables = {Table("dbo", "Orders"), Table("Sales", "Orders")};
    model.aReferences.push_back({{eModelKind::View, "Sales", "", "vTotals"},
                                 "",
                                 "",
                                 "Orders",
                                 TModelKey{eModelKind::Table, "dbo", "", "Orders"}});
    model.BuildIndex();

    const TRecreatePlan plan = PlanRecreate(model);

    const TPlanStep& view = StepNamed(plan, eModelKind::View, "vTotals");
    std::vector<std::string> aNeeded;
    for (const TPlanNeed& need : view.aNeeds)
        aNeeded.push_back(plan.aSteps[need.nStep].key.strSchema + "." + plan.aSteps[need.nStep].key.strName);
    EXPECT_THAT(aNeeded, ElementsAre("dbo.Orders", ".Sales"));
}

} // namespace
