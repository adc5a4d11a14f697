// The rules a migration decides by, each on two small models: the change, the statements written for it (the
// transaction's frame and the guard line every batch begins with left out, line ends as LF) and what is
// refused without an option.
#include "compare/Migration.h"
#include "recreate/ModelParts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using namespace model_parts;
using testing::ElementsAre;
using testing::IsEmpty;

struct TMigrated {
    std::vector<std::string> aBatches;
    std::vector<std::string> aRefusals;
};

std::string WithLf(std::string str) {
    for (size_t nAt; (nAt = str.find("\r\n")) != std::string::npos;)
        str.erase(nAt, 1);
    return str;
}

// The batches between the one that begins the transaction and the one that commits it, each without the
// guard line it begins with.
std::vector<std::string> Batches(const std::string& strScript) {
    std::vector<std::string> aBatches;
    for (size_t nAt = strScript.find("GO\r\n") + 4, nGo;
         (nGo = strScript.find("GO\r\n", nAt)) != std::string::npos; nAt = nGo + 4) {
        const std::string strBatch = strScript.substr(nAt, nGo - nAt);
        aBatches.push_back(WithLf(strBatch.substr(strBatch.find("\r\n") + 2)));
    }
    aBatches.pop_back();
    return aBatches;
}

TMigrated Migrate(const TCatalogModel& from, const TCatalogModel& to, TMigrationOptions options = {}) {
    const CMigration migration(from, to, options);
    TMigrated migrated{Batches(migration.Script()), {}};
    for (const TRefusal& refusal : migration.Refusals())
        migrated.aRefusals.push_back(RefusalLine(refusal));
    return migrated;
}

TMigrationOptions Allowing(bool bDataLoss, bool bRebuild) {
    TMigrationOptions options;
    options.bAllowDataLoss = bDataLoss;
    options.bAllowRebuild = bRebuild;
    return options;
}

TModelDataType Varchar(int nLength) {
    return {"varchar", "", "varchar", nLength, 0, 0};
}

// dbo.Orders (Id int NOT NULL, Note varchar(10)) with its primary key.
TCatalogModel Orders() {
    TCatalogModel model;
    TModelTable table = Table("dbo", "Orders");
    table.aColumns[0].bNullable = false;
    TModelColumn note = Column("Note");
    note.type = Varchar(10);
    table.aColumns.push_back(note);
    model.aTables = {table};
    model.BuildIndex();
    return model;
}

TModelTable& OrdersOf(TCatalogModel& model) {
    return model.aTables[0];
}

TModelColumn& NoteOf(TCatalogModel& model) {
    return OrdersOf(model).aColumns[1];
}

TEST(MigrationRules, AWiderTypeIsAlteredInPlaceAndAnIndexOnTheColumnMadeAgain) {
    TCatalogModel from = Orders();
    OrdersOf(from).aIndexes.push_back(Index("IX_Orders_Note", eModelIndexKind::Index, "Note"));
    TCatalogModel to = from;
    NoteOf(to).type = Varchar(20);

    const TMigrated migrated = Migrate(from, to);
    EXPECT_THAT(migrated.aRefusals, IsEmpty());
    EXPECT_THAT(
        migrated.aBatches,
        ElementsAre("IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL DROP INDEX IF EXISTS "
                    "[IX_Orders_Note] ON [dbo].[Orders];\n",
                    "ALTER TABLE [dbo].[Orders] ALTER COLUMN [Note] [varchar](20) NULL;\n",
                    "CREATE UNIQUE NONCLUSTERED INDEX [IX_Orders_Note] ON [dbo].[Orders] ([Note] ASC);\n"));
}

TEST(MigrationRules, ANarrowerTypeIsRefusedWithoutDataLossAndCheckedWithIt) {
    TCatalogModel from = Orders();
    NoteOf(from).type = Varchar(20);
    TCatalogModel to = Orders();

    EXPECT_THAT(
        Migrate(from, to).aRefusals,
        ElementsAre("column dbo.Orders.Note changes from varchar(20) to varchar(10), which may not hold "
                    "every value (--allow-data-loss changes it where every value fits)"));
    const TMigrated migrated = Migrate(from, to, Allowing(true, false));
    EXPECT_THAT(migrated.aRefusals, IsEmpty());
    EXPECT_THAT(migrated.aBatches,
                ElementsAre("IF EXISTS (SELECT 1 FROM [dbo].[Orders] WHERE [Note] IS NOT NULL AND "
                            "(TRY_CAST([Note] AS [varchar](10)) IS NULL OR CAST(TRY_CAST([Note] AS "
                            "[varchar](10)) AS [varchar](20)) <> [Note])) THROW 50001, N'column "
                            "dbo.Orders.Note holds values that varchar(10) does not hold: the migration does "
                            "not change it', 1;\n"
                            "ALTER TABLE [dbo].[Orders] ALTER COLUMN [Note] [varchar](10) NULL;\n"));
}

TEST(MigrationRules, AColumnBecomingAnIdentityRebuildsItsTable) {
    const TCatalogModel from = Orders();
    TCatalogModel to = Orders();
    OrdersOf(to).aColumns[0].identity = TModelIdentity{"1", "1", false};

    EXPECT_THAT(Migrate(from, to).aRefusals,
                ElementsAre("table dbo.Orders is rebuilt: column dbo.Orders.Id becomes an identity column "
                            "(--allow-rebuild copies its rows into a new table)"));
    EXPECT_THAT(
        Migrate(from, to, Allowing(false, true)).aBatches,
        ElementsAre("CREATE TABLE [dbo].[Orders__rebuilt] (\n"
                    "    [Id] [int] IDENTITY(1, 1) NOT NULL,\n"
                    "    [Note] [varchar](10) NULL\n"
                    ");\n",
                    "SET IDENTITY_INSERT [dbo].[Orders__rebuilt] ON;\n"
                    "INSERT INTO [dbo].[Orders__rebuilt] ([Id], [Note]) SELECT [Id], [Note] FROM "
                    "[dbo].[Orders];\n"
                    "SET IDENTITY_INSERT [dbo].[Orders__rebuilt] OFF;\n",
                    "DROP TABLE [dbo].[Orders];\n",
                    "EXEC sys.sp_rename N'dbo.Orders__rebuilt', N'Orders', N'OBJECT';\n",
                    "ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [PK_Orders] PRIMARY KEY CLUSTERED ([Id] "
                    "ASC);\n"));
}

// A rebuilt table's identity goes on where FROM's stood when the script runs, not after its highest row.
TEST(MigrationRules, ARebuiltTableKeepsItsIdentitysPosition) {
    TCatalogModel from = Orders();
    OrdersOf(from).aColumns[0].identity = TModelIdentity{"1", "2", false};
    TCatalogModel to = from;
    NoteOf(to).bNullable = false;
    TMigrationOptions options = Allowing(false, true);
    options.dialect = {false, false};

    const std::vector<std::string> aBatches = Migrate(from, to, options).aBatches;
    ASSERT_EQ(aBatches.size(), 5u);
    EXPECT_EQ(
        aBatches[1],
        "DECLARE @nLastIdentity numeric(38, 0) = (SELECT CAST(last_value AS numeric(38, 0)) FROM "
        "sys.identity_columns WHERE object_id = OBJECT_ID(N'[dbo].[Orders]'));\n"
        "SET IDENTITY_INSERT [dbo].[Orders__rebuilt] ON;\n"
        "INSERT INTO [dbo].[Orders__rebuilt] ([Id], [Note]) SELECT [Id], [Note] FROM [dbo].[Orders];\n"
        "SET IDENTITY_INSERT [dbo].[Orders__rebuilt] OFF;\n"
        "IF @nLastIdentity IS NOT NULL\n"
        "BEGIN\n"
        "    DECLARE @strReseed nvarchar(max) = N'DBCC CHECKIDENT (''[dbo].[Orders__rebuilt]'', RESEED, ' + "
        "CONVERT(nvarchar(40), CASE WHEN EXISTS (SELECT 1 FROM [dbo].[Orders__rebuilt]) THEN "
        "@nLastIdentity ELSE @nLastIdentity + (2) END) + N');';\n"
        "    EXEC sys.sp_executesql @strReseed;\n"
        "END\n");
}

// On a server whose ALTER COLUMN states no nullability, a change of it rebuilds the table; an identity's
// reason is told first.
TEST(MigrationRules, NullabilityRebuildsWhereTheServerCannotAlterItAndIdentityIsToldFirst) {
    TCatalogModel from = Orders();
    OrdersOf(from).aColumns[0].bNullable = true;
    TCatalogModel to = Orders();
    OrdersOf(to).aColumns[0].identity = TModelIdentity{"1", "1", false};
    NoteOf(to).bNullable = false;
    TMigrationOptions options;
    options.dialect = {false, false};

    EXPECT_THAT(
        Migrate(from, to, options).aRefusals,
        ElementsAre("table dbo.Orders is rebuilt: column dbo.Orders.Id becomes an identity column "
                    "(--allow-rebuild copies its rows into a new table)",
                    "table dbo.Orders is rebuilt: column dbo.Orders.Note changes its nullability, which "
                    "this server cannot change in place (--allow-rebuild copies its rows into a new "
                    "table)"));
}

// What an expression of the table names is made again; what names another column is left alone.
TEST(MigrationRules, AChecksAndAComputedColumnsUseOfAChangedColumnMakesThemAgain) {
    TCatalogModel from = Orders();
    TModelColumn total = Column("Total");
    total.computed = TModelComputed{"([Id]*(2))", false};
    OrdersOf(from).aColumns.push_back(total);
    OrdersOf(from).aChecks = {{"CK_Id", "", "([Id]>(0))", false, false, false},
                              {"CK_Note", "", "(len([Note])>(0))", false, false, false}};
    TCatalogModel to = from;
    NoteOf(to).type = Varchar(20);

    EXPECT_THAT(
        Migrate(from, to).aBatches,
        ElementsAre("IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL ALTER TABLE [dbo].[Orders] DROP "
                    "CONSTRAINT IF EXISTS [CK_Note];\n",
                    "ALTER TABLE [dbo].[Orders] ALTER COLUMN [Note] [varchar](20) NULL;\n",
                    "ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [CK_Note] CHECK (len([Note])>(0));\n"));

    to = from;
    OrdersOf(to).aColumns[0].type = {"bigint", "", "bigint", 8, 19, 0};
    EXPECT_THAT(
        Migrate(from, to).aBatches,
        ElementsAre("IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL ALTER TABLE [dbo].[Orders] DROP "
                    "CONSTRAINT IF EXISTS [CK_Id];\n",
                    "IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL ALTER TABLE [dbo].[Orders] DROP "
                    "CONSTRAINT IF EXISTS [PK_Orders];\n",
                    "ALTER TABLE [dbo].[Orders] DROP COLUMN [Total];\n",
                    "ALTER TABLE [dbo].[Orders] ALTER COLUMN [Id] [bigint] NOT NULL;\n",
                    "ALTER TABLE [dbo].[Orders] ADD [Total] AS ([Id]*(2));\n",
                    "ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [PK_Orders] PRIMARY KEY CLUSTERED ([Id] "
                    "ASC);\n",
                    "ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [CK_Id] CHECK ([Id]>(0));\n"));
}

// A key made again takes the foreign keys that reference it along.
TEST(MigrationRules, AChangedKeyIsMadeAgainWithTheForeignKeysOnIt) {
    TCatalogModel from = Orders();
    TModelTable lines = Table("dbo", "Lines");
    lines.aColumns.push_back(Column("ParentId"));
    lines.aForeignKeys.push_back(ForeignKey("FK_Lines_Orders", "dbo", "Orders", "PK_Orders"));
    from.aTables.push_back(lines);
    from.BuildIndex();
    TCatalogModel to = from;
    OrdersOf(to).aIndexes[0].nFillFactor = 80;

    EXPECT_THAT(
        Migrate(from, to).aBatches,
        ElementsAre("IF OBJECT_ID(N'[dbo].[Lines]', N'U') IS NOT NULL ALTER TABLE [dbo].[Lines] DROP "
                    "CONSTRAINT IF EXISTS [FK_Lines_Orders];\n",
                    "IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL ALTER TABLE [dbo].[Orders] DROP "
                    "CONSTRAINT IF EXISTS [PK_Orders];\n",
                    "ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [PK_Orders] PRIMARY KEY CLUSTERED ([Id] "
                    "ASC) WITH (FILLFACTOR = 80);\n",
                    "ALTER TABLE [dbo].[Lines] ADD CONSTRAINT [FK_Lines_Orders] FOREIGN KEY ([ParentId]) "
                    "REFERENCES [dbo].[Orders] ([Id]);\n"));
}

TModelSequence Sequence() {
    TModelSequence sequence;
    sequence.strSchema = "dbo";
    sequence.strName = "OrderNo";
    sequence.type = {"bigint", "", "bigint", 8, 19, 0};
    sequence.strStart = "1";
    sequence.strIncrement = "1";
    sequence.strMinimum = "1";
    sequence.strMaximum = "1000";
    return sequence;
}

TEST(MigrationRules, ASequencesOptionsAreAlteredAndItsTypeMakesItAgain) {
    TCatalogModel from, to;
    from.aSequences = {Sequence()};
    to.aSequences = {Sequence()};
    to.aSequences[0].strIncrement = "5";
    to.aSequences[0].strStart = "100";
    EXPECT_THAT(Migrate(from, to).aBatches, ElementsAre("ALTER SEQUENCE [dbo].[OrderNo] INCREMENT BY 5;\n"));
    TMigrationOptions restart;
    restart.bRestartSequences = true;
    EXPECT_THAT(Migrate(from, to, restart).aBatches,
                ElementsAre("ALTER SEQUENCE [dbo].[OrderNo] RESTART WITH 100 INCREMENT BY 5;\n"));

    to.aSequences[0].type = {"int", "", "int", 4, 10, 0};
    EXPECT_THAT(
        Migrate(from, to).aBatches,
        ElementsAre("DROP SEQUENCE IF EXISTS [dbo].[OrderNo];\n",
                    "CREATE SEQUENCE [dbo].[OrderNo] AS [int] START WITH 100 INCREMENT BY 5 MINVALUE 1 "
                    "MAXVALUE 1000 NO CYCLE;\n"));
}

TCatalogModel WithModules(const std::vector<TModelModule>& aModules) {
    TCatalogModel model = Orders();
    model.aModules = aModules;
    model.BuildIndex();
    return model;
}

TEST(MigrationRules, AViewIsAlteredWhereTheServerTakesCreateOrAlterAndMadeAgainElsewhere) {
    const TCatalogModel from =
        WithModules({Module("vOrders", "V", "CREATE VIEW dbo.vOrders AS SELECT Id FROM dbo.Orders")});
    const TCatalogModel to =
        WithModules({Module("vOrders", "V", "CREATE VIEW dbo.vOrders AS SELECT Id, Note FROM dbo.Orders")});
    TMigrationOptions options;
    options.dialect.bCreateOrAlter = true;
    EXPECT_THAT(
        Migrate(from, to, options).aBatches,
        ElementsAre("SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
                    "EXEC sys.sp_executesql N'CREATE OR ALTER VIEW dbo.vOrders AS SELECT Id, Note FROM "
                    "dbo.Orders';\n"));
    EXPECT_THAT(Migrate(from, to).aBatches,
                ElementsAre("DROP VIEW IF EXISTS [dbo].[vOrders];\n",
                            "SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
                            "EXEC sys.sp_executesql N'CREATE VIEW dbo.vOrders AS SELECT Id, Note FROM "
                            "dbo.Orders';\n"));
}

// A view that a schema-bound view uses cannot be altered under it: both are made again.
TEST(MigrationRules, AViewASchemaBoundViewUsesIsMadeAgainWithIt) {
    const TModelModule count =
        Module("vCount", "V",
               "CREATE VIEW dbo.vCount WITH SCHEMABINDING AS SELECT COUNT_BIG(*) AS n FROM "
               "dbo.vOrders",
               true);
    const TCatalogModel from =
        WithModules({count, Module("vOrders", "V", "CREATE VIEW dbo.vOrders AS SELECT Id FROM dbo.Orders")});
    const TCatalogModel to = WithModules(
        {count, Module("vOrders", "V", "CREATE VIEW dbo.vOrders AS SELECT Note FROM dbo.Orders")});
    TMigrationOptions options;
    options.dialect.bCreateOrAlter = true;

    EXPECT_THAT(
        Migrate(from, to, options).aBatches,
        ElementsAre("DROP VIEW IF EXISTS [dbo].[vCount];\n", "DROP VIEW IF EXISTS [dbo].[vOrders];\n",
                    "SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
                    "EXEC sys.sp_executesql N'CREATE VIEW dbo.vOrders AS SELECT Note FROM dbo.Orders';\n",
                    "SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
                    "EXEC sys.sp_executesql N'CREATE VIEW dbo.vCount WITH SCHEMABINDING AS SELECT "
                    "COUNT_BIG(*) AS n FROM dbo.vOrders';\n"));
}

TEST(MigrationRules, ATriggerDisabledAloneIsDisabledAndOtherwiseAlteredWithIt) {
    TModelModule trigger =
        Module("trOrders", "TR", "CREATE TRIGGER dbo.trOrders ON dbo.Orders AFTER INSERT AS SELECT 1");
    trigger.strParent = "Orders";
    const TCatalogModel from = WithModules({trigger});
    trigger.bDisabled = true;
    TMigrationOptions options;
    options.dialect.bCreateOrAlter = true;
    EXPECT_THAT(Migrate(from, WithModules({trigger}), options).aBatches,
                ElementsAre("DISABLE TRIGGER [dbo].[trOrders] ON [dbo].[Orders];\n"));

    trigger.bQuotedIdentifier = false;
    EXPECT_THAT(
        Migrate(from, WithModules({trigger}), options).aBatches,
        ElementsAre("SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER OFF;\n",
                    "EXEC sys.sp_executesql N'CREATE OR ALTER TRIGGER dbo.trOrders ON dbo.Orders AFTER "
                    "INSERT AS SELECT 1';\n",
                    "DISABLE TRIGGER [dbo].[trOrders] ON [dbo].[Orders];\n",
                    "SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n"));
}

// The columns of an alias type made again take its base type meanwhile, what uses them made again around;
// a narrower base type is checked as a column's would be.
TEST(MigrationRules, AnAliasTypeInUseIsMadeAgainItsColumnsDetachedMeanwhile) {
    TCatalogModel from = Orders();
    TModelType phone;
    phone.strSchema = "dbo";
    phone.strName = "Phone";
    phone.base = Varchar(20);
    from.aTypes = {phone};
    TModelColumn column = Column("Phone");
    column.type = {"Phone", "dbo", "varchar", 20, 0, 0};
    OrdersOf(from).aColumns.push_back(column);
    OrdersOf(from).aIndexes.push_back(Index("IX_Orders_Phone", eModelIndexKind::Index, "Phone"));
    TCatalogModel to = from;
    to.aTypes[0].base = Varchar(30);

    const TMigrated migrated = Migrate(from, to);
    EXPECT_THAT(migrated.aRefusals, IsEmpty());
    EXPECT_THAT(migrated.aBatches,
                ElementsAre("IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL DROP INDEX IF EXISTS "
                            "[IX_Orders_Phone] ON [dbo].[Orders];\n",
                            "ALTER TABLE [dbo].[Orders] ALTER COLUMN [Phone] [varchar](20) NULL;\n",
                            "DROP TYPE IF EXISTS [dbo].[Phone];\n",
                            "CREATE TYPE [dbo].[Phone] FROM [varchar](30) NULL;\n",
                            "ALTER TABLE [dbo].[Orders] ALTER COLUMN [Phone] [dbo].[Phone] NULL;\n",
                            "CREATE UNIQUE NONCLUSTERED INDEX [IX_Orders_Phone] ON [dbo].[Orders] ([Phone] "
                            "ASC);\n"));

    std::swap(from, to);
    from.BuildIndex();
    to.BuildIndex();
    EXPECT_THAT(
        Migrate(from, to).aRefusals,
        ElementsAre("alias type dbo.Phone changes from varchar(30) to varchar(20), which may not hold "
                    "every value of the columns of the type (--allow-data-loss changes it where every "
                    "value fits)"));
    EXPECT_THAT(Migrate(from, to, Allowing(true, false)).aBatches[4],
                "IF EXISTS (SELECT 1 FROM [dbo].[Orders] WHERE [Phone] IS NOT NULL AND (TRY_CAST([Phone] AS "
                "[varchar](20)) IS NULL OR CAST(TRY_CAST([Phone] AS [varchar](20)) AS [varchar](30)) <> "
                "[Phone])) THROW 50001, N'column dbo.Orders.Phone holds values that dbo.Phone does not hold: "
                "the migration does not change it', 1;\n"
                "ALTER TABLE [dbo].[Orders] ALTER COLUMN [Phone] [dbo].[Phone] NULL;\n");
}

// A table type is made again with the procedures that take it.
TEST(MigrationRules, ATableTypeIsMadeAgainWithTheProceduresThatTakeIt) {
    TModelType list;
    list.strSchema = "dbo";
    list.strName = "IdList";
    list.table = Table("dbo", "IdList");
    list.table->aIndexes.clear();
    TCatalogModel from = WithModules(
        {Module("pTake", "P", "CREATE PROCEDURE dbo.pTake @ids dbo.IdList READONLY AS SELECT Id FROM @ids")});
    from.aTypes = {list};
    TCatalogModel to = from;
    to.aTypes[0].table->aColumns[0].type = {"bigint", "", "bigint", 8, 19, 0};

    EXPECT_THAT(Migrate(from, to).aBatches,
                ElementsAre("DROP PROCEDURE IF EXISTS [dbo].[pTake];\n",
                            "DROP TYPE IF EXISTS [dbo].[IdList];\n",
                            "CREATE TYPE [dbo].[IdList] AS TABLE (\n    [Id] [bigint] NULL\n);\n",
                            "SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
                            "EXEC sys.sp_executesql N'CREATE PROCEDURE dbo.pTake @ids dbo.IdList READONLY AS "
                            "SELECT Id FROM @ids';\n"));
}

// What a function made again is used by goes first and comes again after it: a default, a computed column,
// a view that is not bound to it.
TEST(MigrationRules, AFunctionMadeAgainTakesItsDefaultComputedColumnAndViewWithIt) {
    const TModelModule next =
        Module("fnNext", "FN", "CREATE FUNCTION dbo.fnNext() RETURNS int AS BEGIN RETURN 1 END");
    TModelModule nextTwo = next;
    nextTwo.strDefinition = "CREATE FUNCTION dbo.fnNext() RETURNS int AS BEGIN RETURN 2 END";
    const TModelModule view = Module("vNext", "V", "CREATE VIEW dbo.vNext AS SELECT dbo.fnNext() AS n");
    TCatalogModel from = WithModules({next, view});
    TModelColumn total = Column("Total");
    total.computed = TModelComputed{"([dbo].[fnNext]()+[Id])", false};
    OrdersOf(from).aColumns.push_back(total);
    OrdersOf(from).aDefaults = {{"DF_Orders_Note", "Note", "(CONVERT([varchar](10),[dbo].[fnNext]()))"}};
    from.BuildIndex();
    TCatalogModel to = from;
    to.aModules = {nextTwo, view};
    to.BuildIndex();

    EXPECT_THAT(
        Migrate(from, to).aBatches,
        ElementsAre(
            "DROP VIEW IF EXISTS [dbo].[vNext];\n",
            "IF OBJECT_ID(N'[dbo].[Orders]', N'U') IS NOT NULL ALTER TABLE [dbo].[Orders] DROP "
            "CONSTRAINT IF EXISTS [DF_Orders_Note];\n",
            "ALTER TABLE [dbo].[Orders] DROP COLUMN [Total];\n", "DROP FUNCTION IF EXISTS [dbo].[fnNext];\n",
            "SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
            "EXEC sys.sp_executesql N'CREATE FUNCTION dbo.fnNext() RETURNS int AS BEGIN RETURN 2 END';\n",
            "ALTER TABLE [dbo].[Orders] ADD [Total] AS ([dbo].[fnNext]()+[Id]);\n",
            "ALTER TABLE [dbo].[Orders] ADD CONSTRAINT [DF_Orders_Note] DEFAULT "
            "(CONVERT([varchar](10),[dbo].[fnNext]())) FOR [Note];\n",
            "SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
            "EXEC sys.sp_executesql N'CREATE VIEW dbo.vNext AS SELECT dbo.fnNext() AS n';\n"));
}

// A view that only FROM has and is kept cannot stay over a column the migration drops: refused, naming the
// option that drops it too.
TEST(MigrationRules, AKeptViewOverADroppedColumnIsRefusedUntilDropped) {
    TCatalogModel from =
        WithModules({Module("vNotes", "V", "CREATE VIEW dbo.vNotes AS SELECT Note FROM dbo.Orders")});
    TCatalogModel to = Orders();
    OrdersOf(to).aColumns.pop_back();
    to.BuildIndex();

    EXPECT_THAT(Migrate(from, to, Allowing(true, false)).aRefusals,
                ElementsAre("view dbo.vNotes, which only FROM has, uses column dbo.Orders.Note, which the "
                            "migration drops (--drop drops it too)"));
    TMigrationOptions options = Allowing(true, false);
    options.bDrop = true;
    const TMigrated migrated = Migrate(from, to, options);
    EXPECT_THAT(migrated.aRefusals, IsEmpty());
    EXPECT_THAT(migrated.aBatches, ElementsAre("DROP VIEW IF EXISTS [dbo].[vNotes];\n",
                                               "ALTER TABLE [dbo].[Orders] DROP COLUMN [Note];\n"));
}

// Tables dropped together go after the foreign keys between them, whichever name sorts first.
TEST(MigrationRules, TablesDroppedTogetherGoAfterTheirForeignKeys) {
    TCatalogModel from = Orders();
    TModelTable shippers = Table("dbo", "Shippers");
    TModelTable lines = Table("dbo", "Lines");
    lines.aColumns.push_back(Column("ParentId"));
    lines.aForeignKeys.push_back(ForeignKey("FK_Lines_Shippers", "dbo", "Shippers", "PK_Shippers"));
    shippers.aColumns.push_back(Column("ParentId"));
    shippers.aForeignKeys.push_back(ForeignKey("FK_Shippers_Lines", "dbo", "Lines", "PK_Lines"));
    from.aTables = {lines, OrdersOf(from), shippers};
    from.BuildIndex();
    TMigrationOptions options = Allowing(true, false);
    options.bDrop = true;

    EXPECT_THAT(
        Migrate(from, Orders(), options).aBatches,
        ElementsAre("IF OBJECT_ID(N'[dbo].[Shippers]', N'U') IS NOT NULL ALTER TABLE [dbo].[Shippers] DROP "
                    "CONSTRAINT IF EXISTS [FK_Shippers_Lines];\n",
                    "IF OBJECT_ID(N'[dbo].[Lines]', N'U') IS NOT NULL ALTER TABLE [dbo].[Lines] DROP "
                    "CONSTRAINT IF EXISTS [FK_Lines_Shippers];\n",
                    "DROP TABLE IF EXISTS [dbo].[Shippers];\n", "DROP TABLE IF EXISTS [dbo].[Lines];\n"));
}

// A module kept as run (ALTER ...) is written as CREATE, and as CREATE OR ALTER where the migration alters.
TEST(MigrationRules, AModuleStoredAsAlterIsWrittenAsCreate) {
    const TCatalogModel from =
        WithModules({Module("vOrders", "V", "alter view dbo.vOrders AS SELECT Id FROM dbo.Orders")});
    const TCatalogModel to =
        WithModules({Module("vOrders", "V", "  alter view dbo.vOrders AS SELECT Note FROM dbo.Orders")});
    EXPECT_THAT(Migrate(from, to).aBatches,
                ElementsAre("DROP VIEW IF EXISTS [dbo].[vOrders];\n",
                            "SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
                            "EXEC sys.sp_executesql N'  CREATE view dbo.vOrders AS SELECT Note FROM "
                            "dbo.Orders';\n"));
    TMigrationOptions options;
    options.dialect.bCreateOrAlter = true;
    EXPECT_THAT(Migrate(from, to, options).aBatches,
                ElementsAre("SET ANSI_NULLS ON;\nSET QUOTED_IDENTIFIER ON;\n",
                            "EXEC sys.sp_executesql N'  CREATE OR ALTER view dbo.vOrders AS SELECT Note FROM "
                            "dbo.Orders';\n"));
}

// --allow-data-loss drops a table with its rows, the loss told as a warning.
TEST(MigrationRules, ATableOnlyFromHasIsKeptOrDroppedWithItsRows) {
    TCatalogModel from = Orders();
    from.aTables.push_back(Table("dbo", "Old"));
    from.BuildIndex();
    const TCatalogModel to = Orders();
    EXPECT_THAT(Migrate(from, to).aBatches, IsEmpty());

    TMigrationOptions options;
    options.bDrop = true;
    EXPECT_THAT(Migrate(from, to, options).aRefusals,
                ElementsAre("dropping table dbo.Old loses its rows (--allow-data-loss drops it with them)"));
    options.bAllowDataLoss = true;
    const CMigration migration(from, to, options);
    EXPECT_THAT(migration.Refusals(), IsEmpty());
    ASSERT_EQ(migration.Warnings().size(), 1u);
    EXPECT_EQ(migration.Warnings()[0].strReason, "dropping table dbo.Old loses its rows");
    EXPECT_THAT(Batches(migration.Script()), ElementsAre("DROP TABLE IF EXISTS [dbo].[Old];\n"));
}

// The script first checks each object it touches against FROM's hash, one TO adds against none, and stops
// naming those that moved.
TEST(MigrationRules, TheScriptFirstChecksTheObjectsItTouchesAgainstFromsHashes) {
    const TCatalogModel from =
        WithModules({Module("vOrders", "V", "CREATE VIEW dbo.vOrders AS SELECT Id FROM dbo.Orders")});
    TCatalogModel to =
        WithModules({Module("vOrders", "V", "CREATE VIEW dbo.vOrders AS SELECT Note FROM dbo.Orders")});
    to.aTables.push_back(Table("dbo", "Lines"));
    to.BuildIndex();
    TMigrationOptions options;
    options.fromHashes = TObjectHashes{{HashKey({eModelKind::View, "dbo", "", "vOrders"}), "0A1B"},
                                       {HashKey({eModelKind::Table, "dbo", "", "Orders"}), "2C3D"}};

    const TMigrated migrated = Migrate(from, to, options);
    ASSERT_EQ(migrated.aBatches.size(), 5u);
    EXPECT_EQ(
        migrated.aBatches[0],
        "DECLARE @strMoved nvarchar(max) = N'';\n"
        "IF ISNULL(HASHBYTES('SHA2_256', (SELECT m.definition FROM sys.sql_modules m WHERE m.object_id = "
        "(SELECT o.object_id FROM sys.objects o WHERE o.schema_id = SCHEMA_ID(N'dbo') AND o.name = "
        "N'vOrders'))), 0x) <> 0x0A1B SET @strMoved += N', view dbo.vOrders';\n"
        "IF ISNULL(HASHBYTES('SHA2_256', CAST((SELECT c.name, TYPE_NAME(c.user_type_id) AS type_name, "
        "c.max_length, c.precision, c.scale, c.is_nullable, c.collation_name, c.is_identity, c.is_computed "
        "FROM sys.columns c WHERE c.object_id = (SELECT o.object_id FROM sys.objects o WHERE o.schema_id = "
        "SCHEMA_ID(N'dbo') AND o.name = N'Lines') ORDER BY c.column_id FOR XML "
        "PATH('c')) AS nvarchar(max))), 0x) <> 0x SET @strMoved += N', table dbo.Lines';\n"
        "IF @strMoved <> N'' BEGIN SET @strMoved = N'The database is not the one this migration was "
        "written for; changed since:' + STUFF(@strMoved, 1, 1, N''); THROW 50002, @strMoved, 1; END;\n");
    EXPECT_EQ(migrated.aBatches[1], "DROP VIEW IF EXISTS [dbo].[vOrders];\n");

    options.fromHashes.reset();
    EXPECT_EQ(Migrate(from, to, options).aBatches.size(), 4u);
    options.fromHashes = TObjectHashes();
    EXPECT_THAT(Migrate(from, from, options).aBatches, IsEmpty());
}

TEST(MigrationRules, ASchemasOwnerAndAPropertysValueAreChangedInPlace) {
    TCatalogModel from = Orders();
    from.aSchemas = {{"sales", "dbo", false}};
    TModelExtendedProperty property;
    property.target = TModelKey{eModelKind::Table, "dbo", "", "Orders"};
    property.strColumn = "Note";
    property.strName = "MS_Description";
    property.value = "A note";
    property.strBaseType = "nvarchar";
    from.aExtendedProperties = {property};
    TCatalogModel to = from;
    to.aSchemas[0].strOwner = "manager";
    to.aExtendedProperties[0].value = "Any note";

    EXPECT_THAT(
        Migrate(from, to).aBatches,
        ElementsAre("ALTER AUTHORIZATION ON SCHEMA::[sales] TO [manager];\n",
                    "EXEC sys.sp_updateextendedproperty @name = N'MS_Description', @value = N'Any note', "
                    "@level0type = N'SCHEMA', @level0name = N'dbo', @level1type = N'TABLE', @level1name "
                    "= N'Orders', @level2type = N'COLUMN', @level2name = N'Note';\n"));
}

} // namespace
