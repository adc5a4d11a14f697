// Statements become batches in one place: GO after each batch, the SET options a module needs in a batch
// before it and set back ON after what left them OFF, and where every batch begins with a line of its own, a
// module's CREATE run through sp_executesql.
#include "recreate/Statements.h"

#include <gtest/gtest.h>

namespace {

TStatements TriggerOffAndDisabled() {
    return {{"CREATE TRIGGER t ON dbo.T AFTER INSERT AS SELECT 'x'", eBatchPlace::Alone,
             TSetOptions{true, false}},
            {"DISABLE TRIGGER [dbo].[t] ON [dbo].[T];"}};
}

TEST(Statements, AModuleIsAloneInItsBatchBetweenItsSetOptions) {
    EXPECT_EQ(ScriptText(TriggerOffAndDisabled()),
              "SET ANSI_NULLS ON;\r\nSET QUOTED_IDENTIFIER OFF;\r\nGO\r\n"
              "CREATE TRIGGER t ON dbo.T AFTER INSERT AS SELECT 'x'\r\nGO\r\n"
              "DISABLE TRIGGER [dbo].[t] ON [dbo].[T];\r\nGO\r\n"
              "SET ANSI_NULLS ON;\r\nSET QUOTED_IDENTIFIER ON;\r\nGO\r\n");
}

TEST(Statements, AfterAPrologueAModulesCreateRunsThroughSpExecuteSql) {
    std::string strScript = "BEGIN;\r\n";
    AppendBatches(strScript, TriggerOffAndDisabled(), "IF 1 = 0 RETURN;");
    EXPECT_EQ(strScript,
              "BEGIN;\r\n"
              "IF 1 = 0 RETURN;\r\nSET ANSI_NULLS ON;\r\nSET QUOTED_IDENTIFIER OFF;\r\nGO\r\n"
              "IF 1 = 0 RETURN;\r\n"
              "EXEC sys.sp_executesql N'CREATE TRIGGER t ON dbo.T AFTER INSERT AS SELECT ''x''';\r\nGO\r\n"
              "IF 1 = 0 RETURN;\r\nDISABLE TRIGGER [dbo].[t] ON [dbo].[T];\r\nGO\r\n"
              "IF 1 = 0 RETURN;\r\nSET ANSI_NULLS ON;\r\nSET QUOTED_IDENTIFIER ON;\r\nGO\r\n");
}

TEST(Statements, StatementsJoinTheirBatchUnlessOneBeginsANewOne) {
    EXPECT_EQ(
        ScriptText({{"CREATE TABLE t (a int);"},
                    {"INSERT INTO t VALUES (1);"},
                    {"DROP TABLE t;", eBatchPlace::Begins},
                    {"SELECT 1;"}}),
        "CREATE TABLE t (a int);\r\nINSERT INTO t VALUES (1);\r\nGO\r\nDROP TABLE t;\r\nSELECT 1;\r\nGO\r\n");
    EXPECT_EQ(ScriptText({}), "");
}

// A definition kept with its own line end is not given another.
TEST(Statements, ADefinitionEndingItsLineKeepsItsLineEnd) {
    const std::string strDefinition = "CREATE VIEW v AS SELECT 1\n";
    EXPECT_EQ(ScriptText({TStatement::Borrowing(strDefinition, eBatchPlace::Alone, TSetOptions{})}),
              "SET ANSI_NULLS ON;\r\nSET QUOTED_IDENTIFIER ON;\r\nGO\r\nCREATE VIEW v AS SELECT 1\nGO\r\n");
}

} // namespace
