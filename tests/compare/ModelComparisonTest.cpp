// Two small models compared: what each holds that the other lacks, and the properties that differ, objects
// matched by kind and name without regard to case.
#include "compare/ModelComparison.h"
#include "recreate/ModelParts.h"
#include "recreate/RecreateKinds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace model_parts;
using testing::ElementsAre;

TModelDataType Varchar(int nLength) {
    return {"varchar", "", "varchar", nLength, 0, 0};
}

// A table dbo.Orders (Id int, Note varchar(10)) with its primary key.
TCatalogModel Orders() {
    TCatalogModel model;
    TModelTable table = Table("dbo", "Orders");
    TModelColumn note = Column("Note");
    note.type = Varchar(10);
    note.strCollation = "Latin1_General_CI_AS";
    table.aColumns.push_back(note);
    model.aTables = {table};
    model.BuildIndex();
    return model;
}

// Each difference as a line: "+ index dbo.Orders.IX", "- table dbo.Old", "~ column dbo.Orders.Note: type
// varchar(10) -> varchar(20)".
std::vector<std::string> Differences(const TCatalogModel& from, const TCatalogModel& to) {
    const std::vector<TCompareObject> aFrom = CompareObjects(from, PlanRecreate(from));
    const std::vector<TCompareObject> aTo = CompareObjects(to, PlanRecreate(to));
    const TObjectIndex mapFrom = IndexObjects(aFrom), mapTo = IndexObjects(aTo);
    std::vector<std::string> aLines;
    for (const TModelDifference& difference : CompareModels({from, aFrom, mapFrom}, {to, aTo, mapTo})) {
        const TCompareObject& object = difference.Object();
        const char* pszChange = difference.eChange == eDiffChange::Added     ? "+ "
                                : difference.eChange == eDiffChange::Removed ? "- "
                                                                             : "~ ";
        std::string strLine =
            pszChange + std::string(RecreateKind(object.key.eKind).strName) + " " + object.strName;
        for (const TPropertyChange& change : difference.aChanges)
            strLine +=
                "; " + std::string(change.pProperty->strLabel) + " " + change.strOld + " -> " + change.strNew;
        aLines.push_back(strLine);
    }
    return aLines;
}

TEST(ModelComparison, AModelEqualsItself) {
    EXPECT_THAT(Differences(Orders(), Orders()), ElementsAre());
}

TEST(ModelComparison, AColumnsTypeChangeIsOneChangedProperty) {
    TCatalogModel to = Orders();
    to.aTables[0].aColumns[1].type = Varchar(20);
    to.aTables[0].aColumns[0].type = {"bigint", "", "bigint", 8, 19, 0};

    EXPECT_THAT(Differences(Orders(), to),
                ElementsAre("~ column dbo.Orders.Id; type int -> bigint",
                            "~ column dbo.Orders.Note; type varchar(10) -> varchar(20)"));
}

TEST(ModelComparison, SeveralPropertiesOfOneColumnAreOneDifference) {
    TCatalogModel to = Orders();
    TModelColumn& note = to.aTables[0].aColumns[1];
    note.type = {"nvarchar", "", "nvarchar", -1, 0, 0};
    note.strCollation = "Latin1_General_CS_AS";
    note.bNullable = false;

    EXPECT_THAT(Differences(Orders(), to),
                ElementsAre("~ column dbo.Orders.Note; type varchar(10) -> nvarchar(max); collation "
                            "Latin1_General_CI_AS -> Latin1_General_CS_AS; nullable yes -> no"));
}

TEST(ModelComparison, AnIndexAddedAndOneDroppedAreAnAddedAndARemovedObject) {
    TCatalogModel from = Orders(), to = Orders();
    from.aTables[0].aIndexes.push_back(Index("IX_Old", eModelIndexKind::Index, "Note"));
    to.aTables[0].aIndexes.push_back(Index("IX_Orders_Note", eModelIndexKind::Index, "Note"));

    EXPECT_THAT(Differences(from, to),
                ElementsAre("+ index dbo.Orders.IX_Orders_Note", "- index dbo.Orders.IX_Old"));
}

TEST(ModelComparison, AnIndexsKeysAndAForeignKeysActionAreCompared) {
    TCatalogModel from = Orders(), to = Orders();
    for (TCatalogModel* pModel : {&from, &to}) {
        TModelTable& table = pModel->aTables[0];
        table.aColumns.push_back(Column("ParentId"));
        table.aIndexes.push_back(Index("IX_Orders_Note", eModelIndexKind::Index, "Note"));
        table.aForeignKeys.push_back(ForeignKey("FK_Orders_Parent", "dbo", "Orders", "PK_Orders"));
    }
    to.aTables[0].aIndexes[1].aKeys = {{"Note", false}, {"Id", true}};
    to.aTables[0].aForeignKeys[0].eOnDelete = eModelReferentialAction::Cascade;

    EXPECT_THAT(Differences(from, to),
                ElementsAre("~ index dbo.Orders.IX_Orders_Note; keys Note ASC -> Note ASC, Id DESC",
                            "~ foreign key dbo.Orders.FK_Orders_Parent; on delete NO ACTION -> CASCADE"));
}

TEST(ModelComparison, ARenamedLookingTableIsOneRemovedAndOneAdded) {
    TCatalogModel to = Orders();
    to.aTables[0].strName = "Purchases";
    to.BuildIndex();

    EXPECT_THAT(Differences(Orders(), to),
                ElementsAre("+ table dbo.Purchases", "+ column dbo.Purchases.Id",
                            "+ column dbo.Purchases.Note", "+ key dbo.Purchases.PK_Orders",
                            "- table dbo.Orders", "- column dbo.Orders.Id", "- column dbo.Orders.Note",
                            "- key dbo.Orders.PK_Orders"));
}

TEST(ModelComparison, NamesThatDifferInCaseOnlyAreTheSameObject) {
    TCatalogModel to = Orders();
    to.aTables[0].strName = "ORDERS";
    to.aTables[0].aColumns[1].strName = "note";
    to.aTables[0].strSchema = "DBO";
    to.BuildIndex();

    EXPECT_THAT(Differences(Orders(), to), ElementsAre());
}

TEST(ModelComparison, ADefaultIsKnownByItsColumnWhateverItsName) {
    TCatalogModel from = Orders(), to = Orders();
    from.aTables[0].aDefaults = {{"DF__Orders__Note__1A2B3C", "Note", "('none')"}};
    to.aTables[0].aDefaults = {{"DF__Orders__Note__4D5E6F", "Note", "('none')"}};
    EXPECT_THAT(Differences(from, to), ElementsAre());

    to.aTables[0].aDefaults[0].strDefinition = "('')";
    EXPECT_THAT(Differences(from, to),
                ElementsAre("~ default dbo.Orders.DF__Orders__Note__4D5E6F; definition ('none') -> ('')"));
}

TEST(ModelComparison, AModuleKeptAsAlterIsTheSameAsOneKeptAsCreate) {
    TCatalogModel from = Orders(), to = Orders();
    from.aModules = {Module("vOrders", "V", "CREATE VIEW dbo.vOrders AS SELECT Id FROM dbo.Orders")};
    to.aModules = {Module("vOrders", "V", "ALTER VIEW dbo.vOrders AS SELECT Id FROM dbo.Orders")};
    EXPECT_THAT(Differences(from, to), ElementsAre());

    to.aModules[0].strDefinition = "CREATE VIEW dbo.vOrders AS SELECT Id, Note FROM dbo.Orders";
    to.aModules[0].bQuotedIdentifier = false;
    EXPECT_THAT(
        Differences(from, to),
        ElementsAre(
            "~ view dbo.vOrders; definition CREATE VIEW dbo.vOrders AS SELECT Id FROM dbo.Orders -> "
            "CREATE VIEW dbo.vOrders AS SELECT Id, Note FROM dbo.Orders; QUOTED_IDENTIFIER ON -> OFF"));
}

TEST(ModelComparison, ATriggerIsNamedInItsSchemaAndItsTableIsNotPartOfItsName) {
    TCatalogModel from = Orders(), to = Orders();
    TModelModule trigger =
        Module("trOrders", "TR", "CREATE TRIGGER dbo.trOrders ON dbo.Orders AFTER INSERT AS SELECT 1");
    trigger.strParent = "Orders";
    from.aModules = {trigger};
    trigger.bDisabled = true;
    to.aModules = {trigger};

    EXPECT_THAT(Differences(from, to), ElementsAre("~ trigger dbo.trOrders; disabled no -> yes"));
}

TEST(ModelComparison, AnOddNameIsShownInBrackets) {
    TCatalogModel to = Orders();
    to.aTables[0].aColumns.push_back(Column("Unit Price"));
    to.aTables[0].aColumns.push_back(Column("select"));

    EXPECT_THAT(Differences(Orders(), to),
                ElementsAre("+ column dbo.Orders.[Unit Price]", "+ column dbo.Orders.[select]"));
}

TModelExtendedProperty Property(std::optional<TModelKey> target, const std::string& strColumn,
                                const std::string& strValue) {
    TModelExtendedProperty property;
    property.target = std::move(target);
    property.strColumn = strColumn;
    property.strName = "MS_Description";
    property.value = strValue;
    property.strBaseType = "nvarchar";
    return property;
}

TEST(ModelComparison, APropertyIsMatchedByWhatItIsOn) {
    TCatalogModel from = Orders(), to = Orders();
    const TModelKey table{eModelKind::Table, "dbo", "", "Orders"};
    from.aExtendedProperties = {Property(table, "Note", "A note"), Property(std::nullopt, "", "The shop")};
    to.aExtendedProperties = {Property(table, "Note", "Any note"), Property(table, "", "The orders")};

    EXPECT_THAT(
        Differences(from, to),
        ElementsAre("~ extended property MS_Description on table dbo.Orders.Note; value A note -> Any note",
                    "+ extended property MS_Description on table dbo.Orders",
                    "- extended property MS_Description on the database"));
}

} // namespace
