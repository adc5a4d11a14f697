#include "scripting/DefaultsRules.h"
#include "scripting/ScriptTestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const kOpeningBatch = "SET QUOTED_IDENTIFIER OFF \r\n"
                                  "GO \r\n"
                                  "\r\n";

const char* const kDefaultsClosingBatch = "\r\n"
                                          "SET QUOTED_IDENTIFIER ON \r\n"
                                          "GO \r\n";

// The comment and its neighbouring blank leave two blanks; double and single quotes stay as they are.
const char* const kQuotedDefault = "IF OBJECT_ID('[quoted]', 'D') IS NULL \r\n"
                                   "\tEXEC(\"CREATE DEFAULT dbo.quoted  AS \"it's\"\")\r\n"
                                   "GO\r\n"
                                   "\r\n";

// Leading empty lines, the line comment with its line end and the trailing line end are gone;
// the object is tested without its schema.
const char* const kZeroDefault = "IF OBJECT_ID('[zero]', 'D') IS NULL \r\n"
                                 "\tEXEC(\"CREATE DEFAULT sales.zero AS 0\")\r\n"
                                 "GO\r\n"
                                 "\r\n";

const char* const kPositiveRule = "IF OBJECT_ID('[positive]', 'R') IS NULL \r\n"
                                  "\tEXEC(\"CREATE RULE dbo.positive\r\n"
                                  "AS @v > 0\")\r\n"
                                  "GO\r\n"
                                  "\r\n";

class DefaultsRulesTest : public testing::Test {
protected:
    CSnapshotCatalog m_catalog{FixturePath("scripting/objects.json")};
};

} // namespace

TEST_F(DefaultsRulesTest, SingleDefaultHasNoSetBatch) {
    CSQLDefaults defaults;
    EXPECT_SCRIPT(defaults.ScriptObject("sales", "zero"), kZeroDefault);
    EXPECT_SCRIPT(defaults.ScriptObject("dbo", "quoted"), kQuotedDefault);
}

TEST_F(DefaultsRulesTest, DefaultsCategoryIsFramedBySetBatches) {
    CSQLDefaults defaults;
    EXPECT_SCRIPT(defaults.ScriptAllObjects(),
                  std::string(kOpeningBatch) + kQuotedDefault + kZeroDefault + kDefaultsClosingBatch);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(DefaultsRulesTest, RulesHaveOnlyTheOpeningBatch) {
    CSQLRules rules;
    EXPECT_SCRIPT(rules.ScriptObject("dbo", "positive"), kPositiveRule);
    EXPECT_SCRIPT(rules.ScriptAllObjects(), std::string(kOpeningBatch) + kPositiveRule);
}

TEST_F(DefaultsRulesTest, ObjectNotInCatalogOrWithoutNameGivesEmptyText) {
    CSQLDefaults defaults;
    EXPECT_SCRIPT(defaults.ScriptObject("dbo", "nosuch"), "");
    EXPECT_SCRIPT(defaults.ScriptObject("dbo", ""), "");
    EXPECT_SCRIPT(defaults.ScriptObject("dbo", nullptr), "");
}

TEST(DefaultsRulesEmptyTest, EmptyCategoriesKeepTheirBatches) {
    CSnapshotCatalog catalog(FixturePath("scripting/empty.json"));
    CSQLDefaults defaults;
    EXPECT_SCRIPT(defaults.ScriptAllObjects(), "SET QUOTED_IDENTIFIER OFF \r\n"
                                               "GO \r\n"
                                               "\r\n"
                                               "\r\n"
                                               "SET QUOTED_IDENTIFIER ON \r\n"
                                               "GO \r\n");
    CSQLRules rules;
    EXPECT_SCRIPT(rules.ScriptAllObjects(), kOpeningBatch);
}

TEST(DefaultsRulesFailureTest, ErrorOnThirdDefaultKeepsTheSurroundingBatches) {
    CSnapshotCatalog catalog(FixturePath("scripting/failing.json"));
    CSQLDefaults defaults;
    EXPECT_SCRIPT(defaults.ScriptAllObjects(), std::string(kOpeningBatch) + kDefaultsClosingBatch);
    const std::vector<TUiMessage> aMessages = ShownMessages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText,
              "Ошибка создания скрипта. [FreeTDS][SQL Server]Communication link failure");
}
