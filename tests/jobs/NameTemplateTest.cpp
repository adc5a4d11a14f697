// Where a file per object goes: the template's paths, names that differ only in letter case, and what is not
// a template.
#include "jobs/NameTemplate.h"

#include <gtest/gtest.h>

namespace {

TEST(NameTemplateTest, PathsOfObjectsAndOfSchemas) {
    const CNameTemplate names("{category}/{schema}.{name}.sql");
    EXPECT_EQ(names.Path("Tables", "dbo", "Orders"), "Tables/dbo.Orders.sql");
    // A schema has no schema: the '.' after {schema} goes with it.
    EXPECT_EQ(names.Path("Schemas", "", "sales"), "Schemas/sales.sql");
    EXPECT_EQ(CNameTemplate("{category}/{schema}/{name}.sql").Path("Schemas", "", "sales"),
              "Schemas/sales.sql");
    EXPECT_EQ(names.Path("Tables", "a/b", EscapeFileName("x:y~1")), "Tables/a%2Fb.x%3Ay%7E1.sql");
    EXPECT_TRUE(std::regex_match("Tables/dbo.Orders.sql", names.Pattern("Tables", true)));
    EXPECT_FALSE(std::regex_match("Views/dbo.Orders.sql", names.Pattern("Tables", true)));
}

TEST(NameTemplateTest, NamesThatDifferInLetterCaseOnlyGetANumber) {
    const CNameTemplate names(kDefaultNameTemplate);
    std::set<std::string> setUsed;
    EXPECT_EQ(names.UniquePath("Tables", "dbo", "Orders", setUsed), "Tables/dbo.Orders.sql");
    EXPECT_EQ(names.UniquePath("Tables", "dbo", "ORDERS", setUsed), "Tables/dbo.ORDERS~2.sql");
    EXPECT_EQ(names.UniquePath("Tables", "DBO", "orders", setUsed), "Tables/DBO.orders~3.sql");
}

TEST(NameTemplateTest, WhatIsNoTemplateIsNamed) {
    EXPECT_EQ(CNameTemplate::FaultOf("{category}/{owner}.{name}"), eNameTemplateFault::UnknownPlaceholder);
    EXPECT_EQ(CNameTemplate::FaultOf("{schema}.{name}.sql"), eNameTemplateFault::NoCategoryOrName);
    EXPECT_EQ(CNameTemplate::FaultOf("../{category}/{name}.sql"), eNameTemplateFault::LeavesFolder);
    EXPECT_EQ(CNameTemplate::FaultOf("{category}/{name}/"), eNameTemplateFault::LeavesFolder);
    EXPECT_EQ(CNameTemplate::FaultOf(kDefaultNameTemplate), std::nullopt);
}

} // namespace
