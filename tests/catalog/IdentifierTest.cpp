// Names go into catalog statements bare when they are regular identifiers and delimited otherwise.
#include "catalog/SqlIdentifiers.h"

#include <gtest/gtest.h>

#include <string>

TEST(IdentifierTest, RegularIdentifiersFollowTheServersRule) {
    const struct {
        std::string strName;
        bool bRegular;
    } aCases[] = {
        {"Orders", true}, {"_tmp", true},    {"@p1", true},     {"#t", true},
        {"Заказы", true}, {"a$1#@_", true},  {"Orders2", true}, {std::string(128, 'a'), true},
        {"", false},      {"1a", false},     {"$a", false},     {"my schema", false},
        {"a.b", false},   {"a-b", false},    {"it's", false},   {"a]b", false},
        {"order", false}, {"Select", false}, {"OrderBy", true}, {std::string(129, 'a'), false},
    };
    for (const auto& c : aCases)
        EXPECT_EQ(IsRegularIdentifier(c.strName.c_str()), c.bRegular) << c.strName;
}
