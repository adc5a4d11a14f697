// Which tables' rows an export writes and in what order, and the foreign keys of a cycle that are off while
// rows go into a database that has its schema already.
#include "recreate/DataPlan.h"
#include "recreate/ModelParts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace model_parts;
using testing::ElementsAre;

TModelTable Child(const std::string& strName, const std::string& strParent, const std::string& strKey) {
    TModelTable table = Table("dbo", strName);
    table.aColumns.push_back(Column("ParentId"));
    table.aForeignKeys.push_back(ForeignKey(strKey, "dbo", strParent, "PK_" + strParent));
    return table;
}

std::vector<std::string> Tables(const std::vector<TDataStep>& aSteps) {
    std::vector<std::string> aTables;
    for (const TDataStep& step : aSteps)
        aTables.push_back(step.table.strSchema + "." + step.table.strName);
    return aTables;
}

TEST(DataPlan, ParentsComeBeforeTheTablesThatReferenceThem) {
    TCatalogModel model;
    model.aTables = {Child("Lines", "Orders", "FK_Lines_Orders"), Table("dbo", "Notes"),
                     Child("Orders", "Customers", "FK_Orders_Customers"), Table("dbo", "Customers")};
    model.BuildIndex();

    const std::vector<TDataStep> aSteps = PlanData(model, {}, true);

    // Whenever several could come next, the one listed first.
    EXPECT_THAT(Tables(aSteps), ElementsAre("dbo.Notes", "dbo.Customers", "dbo.Orders", "dbo.Lines"));
    // No cycle: every key stays on.
    for (const TDataStep& step : aSteps) {
        EXPECT_EQ(step.strBefore, "") << step.table.strName;
        EXPECT_EQ(step.strAfter, "") << step.table.strName;
    }
}

TEST(DataPlan, ATableThatReferencesItselfHasItsKeyOffWhileItsRowsGoIn) {
    TCatalogModel model;
    model.aTables = {Child("Employees", "Employees", "FK_Employees_Manager")};
    model.BuildIndex();

    const std::vector<TDataStep> aSteps = PlanData(model, {}, true);

    ASSERT_EQ(aSteps.size(), 1u);
    EXPECT_EQ(aSteps[0].strBefore,
              "ALTER TABLE [dbo].[Employees] NOCHECK CONSTRAINT [FK_Employees_Manager];\r\n"
              "GO\r\n");
    EXPECT_EQ(aSteps[0].strAfter,
              "ALTER TABLE [dbo].[Employees] WITH CHECK CHECK CONSTRAINT [FK_Employees_Manager];\r\n"
              "GO\r\n");

    // With the schema made by the same script, the keys are made after the rows: none is turned off.
    const std::vector<TDataStep> aWithSchema = PlanData(model, {}, false);
    ASSERT_EQ(aWithSchema.size(), 1u);
    EXPECT_EQ(aWithSchema[0].strBefore, "");
    EXPECT_EQ(aWithSchema[0].strAfter, "");
}

TEST(DataPlan, ATwoTableCycleHasBothKeysOffAroundBothTablesAndAnUntrustedKeyIsNotCheckedAgain) {
    TCatalogModel model;
    TModelTable depts = Child("Departments", "Staff", "FK_Departments_Head");
    depts.aForeignKeys.front().bNotTrusted = true;
    TModelTable staff = Child("Staff", "Departments", "FK_Staff_Department");
    // A key to a table outside the cycle and a disabled key stay as they are.
    staff.aForeignKeys.push_back(ForeignKey("FK_Staff_Sites", "dbo", "Sites", "PK_Sites"));
    staff.aForeignKeys.push_back(ForeignKey("FK_Staff_Mentor", "dbo", "Departments", "PK_Departments"));
    staff.aForeignKeys.back().bDisabled = true;
    model.aTables = {depts, Table("dbo", "Sites"), staff};
    model.BuildIndex();

    const std::vector<TDataStep> aSteps = PlanData(model, {}, true);

    ASSERT_THAT(Tables(aSteps), ElementsAre("dbo.Sites", "dbo.Departments", "dbo.Staff"));
    EXPECT_EQ(aSteps[0].strBefore, "");
    EXPECT_EQ(aSteps[0].strAfter, "");
    EXPECT_EQ(aSteps[1].strBefore,
              "ALTER TABLE [dbo].[Departments] NOCHECK CONSTRAINT [FK_Departments_Head];\r\n"
              "ALTER TABLE [dbo].[Staff] NOCHECK CONSTRAINT [FK_Staff_Department];\r\n"
              "GO\r\n");
    EXPECT_EQ(aSteps[1].strAfter, "");
    EXPECT_EQ(aSteps[2].strBefore, "");
    EXPECT_EQ(aSteps[2].strAfter,
              "ALTER TABLE [dbo].[Departments] CHECK CONSTRAINT [FK_Departments_Head];\r\n"
              "ALTER TABLE [dbo].[Staff] WITH CHECK CHECK CONSTRAINT [FK_Staff_Department];\r\n"
              "GO\r\n");
}

TEST(DataPlan, ACycleThroughATableLeftOutIsNoCycle) {
    TCatalogModel model;
    model.aTables = {Child("Departments", "Staff", "FK_Departments_Head"),
                     Child("Staff", "Departments", "FK_Staff_Department")};
    model.BuildIndex();

    const std::vector<TDataStep> aSteps = PlanData(model, {{"", "Staff"}}, true);

    ASSERT_THAT(Tables(aSteps), ElementsAre("dbo.Staff"));
    EXPECT_EQ(aSteps[0].strBefore, "");
    EXPECT_EQ(aSteps[0].strAfter, "");
}

TEST(DataPlan, BracketsInNamesAreDoubledInTheKeysStatements) {
    TCatalogModel model;
    TModelTable table = Child("Odd]Name", "Odd]Name", "FK_[Self]");
    table.strSchema = "my schema";
    table.aForeignKeys.front().strReferencedSchema = "my schema";
    model.aTables = {table};
    model.BuildIndex();

    const std::vector<TDataStep> aSteps = PlanData(model, {}, true);

    ASSERT_EQ(aSteps.size(), 1u);
    EXPECT_EQ(aSteps[0].strBefore,
              "ALTER TABLE [my schema].[Odd]]Name] NOCHECK CONSTRAINT [FK_[Self]]];\r\nGO\r\n");
}

TCatalogModel PatternModel() {
    TCatalogModel model;
    model.aTables = {Table("dbo", "Orders"), Table("dbo", "OrderLines"), Table("Sales", "Orders"),
                     Table("Sales", "Customers"), Table("dbo", "Log")};
    TModelType type;
    type.strSchema = "dbo";
    type.strName = "OrderList";
    type.table = Table("dbo", "OrderList");
    model.aTypes = {type};
    model.BuildIndex();
    return model;
}

struct TPatternCase {
    const char* pszCase;
    std::vector<TTablePattern> aPatterns;
    std::vector<std::string> aTables;
};

TEST(DataPlan, PatternsPickTheTablesAndNeverATableType) {
    const TPatternCase aCases[] = {
        {"no pattern: every table",
         {},
         {"dbo.Orders", "dbo.OrderLines", "Sales.Orders", "Sales.Customers", "dbo.Log"}},
        {"a name in any schema", {{"", "orders"}}, {"dbo.Orders", "Sales.Orders"}},
        {"a star", {{"", "Order*"}}, {"dbo.Orders", "dbo.OrderLines", "Sales.Orders"}},
        {"a schema", {{"SALES", "*"}}, {"Sales.Orders", "Sales.Customers"}},
        {"schema and name", {{"dbo", "*s"}}, {"dbo.Orders", "dbo.OrderLines"}},
        {"several patterns, each table once",
         {{"", "Log"}, {"dbo", "Log"}, {"Sales", "C*"}},
         {"Sales.Customers", "dbo.Log"}},
        {"none matches", {{"", "Nothing*"}}, {}},
        {"the table type's name", {{"", "OrderList"}}, {}},
    };
    const TCatalogModel model = PatternModel();
    for (const TPatternCase& test : aCases) {
        std::vector<std::string> aExpected = test.aTables;
        std::vector<std::string> aTables = Tables(PlanData(model, test.aPatterns, false));
        std::sort(aExpected.begin(), aExpected.end());
        std::sort(aTables.begin(), aTables.end());
        EXPECT_EQ(aTables, aExpected) << test.pszCase;
    }
}

TEST(DataPlan, ThePickerNarrowsWhatThePatternsMatch) {
    const TCatalogModel model = PatternModel();
    const auto pfnSales = [](const TModelTable& table) { return table.strSchema == "Sales"; };

    EXPECT_THAT(Tables(PlanData(model, {{"", "Orders"}}, false, pfnSales)), ElementsAre("Sales.Orders"));
    EXPECT_THAT(Tables(PlanData(model, {}, false, pfnSales)), ElementsAre("Sales.Orders", "Sales.Customers"));
}

TEST(DataPlan, TheRowsLeaveOutComputedAndRowversionColumnsAndFollowTheClusteredThenThePrimaryKey) {
    TModelTable table = Table("dbo", "Events");
    table.aColumns.front().identity = TModelIdentity{"1", "1", false};
    TModelColumn version = Column("Version", "timestamp");
    TModelColumn total = Column("Total");
    total.computed = TModelComputed{"([Id]*(2))", true};
    TModelColumn day = Column("Day", "date");
    day.type.nMaxLength = 3;
    TModelColumn note = Column("Note", "nvarchar");
    note.type.nMaxLength = -1;
    table.aColumns.insert(table.aColumns.end(), {version, total, day, note});
    // The primary key is not the clustered index here: the rows come by day, newest first, then by id.
    table.aIndexes.front().bClustered = false;
    TModelIndex byDay = Index("CX_Events_Day", eModelIndexKind::Index, "Day");
    byDay.bClustered = true;
    byDay.bUnique = false;
    byDay.aKeys = {{"Day", true}, {"Id", false}};
    table.aIndexes.push_back(byDay);

    const TDataTable data = DataTableOf(table);

    std::vector<std::string> aColumns;
    for (const TDataColumn& column : data.aColumns)
        aColumns.push_back(column.strName + " " + column.strType + " " + std::to_string(column.nMaxLength));
    EXPECT_THAT(aColumns, ElementsAre("Id int 4", "Day date 3", "Note nvarchar -1"));
    std::vector<std::string> aOrder;
    for (const TDataOrderKey& key : data.aOrder)
        aOrder.push_back(key.strColumn + (key.bDescending ? " DESC" : ""));
    EXPECT_THAT(aOrder, ElementsAre("Day DESC", "Id"));
    ASSERT_TRUE(data.identity);
    EXPECT_EQ(data.identity->nColumn, 0u);
    EXPECT_FALSE(data.identity->bDownward);
}

TEST(DataPlan, AnAliasTypedColumnIsWrittenAsItsSystemType) {
    TModelTable table = Table("dbo", "Contacts");
    TModelColumn phone = Column("Phone");
    phone.type = {"Phone", "dbo", "varchar", 24, 0, 0};
    table.aColumns.push_back(phone);

    const TDataTable data = DataTableOf(table);

    ASSERT_EQ(data.aColumns.size(), 2u);
    EXPECT_EQ(data.aColumns[1].strType, "varchar");
    EXPECT_EQ(data.aColumns[1].nMaxLength, 24);
    EXPECT_FALSE(data.identity);
    ASSERT_EQ(data.aOrder.size(), 1u);
    EXPECT_EQ(data.aOrder[0].strColumn, "Id");
}

} // namespace
