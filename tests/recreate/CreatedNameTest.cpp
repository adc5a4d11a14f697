// The name a module's stored text creates, which sp_rename leaves as it was.
#include "recreate/CreatedName.h"

#include <gtest/gtest.h>

namespace {

TModelModule Module(const std::string& strSchema, const std::string& strName, const std::string& strType,
                    const std::string& strDefinition) {
    TModelModule module;
    module.strSchema = strSchema;
    module.strName = strName;
    module.strType = strType;
    module.strDefinition = strDefinition;
    return module;
}

struct TCreatedCase {
    const char* pszCase;
    const char* pszType;
    const char* pszDefinition;
    std::optional<TCreatedName> created; // for the module dbo.Current
};

std::string Shown(const std::optional<TCreatedName>& name) {
    return name ? "[" + name->strSchema + "].[" + name->strName + "]" : "none";
}

TEST(CreatedName, ATextThatCreatesAnotherNameGivesThatName) {
    const TCreatedCase aCases[] = {
        {"its own name", "V", "CREATE VIEW dbo.Current AS SELECT 1 AS a", std::nullopt},
        {"its own name unqualified", "P", "CREATE PROCEDURE Current AS SELECT 1", std::nullopt},
        {"its own name in brackets", "V", "CREATE VIEW [dbo].[Current] AS SELECT 1 AS a", std::nullopt},
        {"its own name in another case", "V", "create view DBO.current as select 1 as a", std::nullopt},
        {"a renamed view", "V", "CREATE VIEW dbo.Former AS SELECT 1 AS a", TCreatedName{"dbo", "Former"}},
        {"a renamed procedure unqualified", "P", "CREATE PROC Former AS SELECT 1",
         TCreatedName{"", "Former"}},
        {"created in another schema", "V", "CREATE VIEW Sales.Current AS SELECT 1 AS a",
         TCreatedName{"Sales", "Current"}},
        {"CREATE OR ALTER", "FN",
         "CREATE OR ALTER FUNCTION [dbo].[Former](@n int) RETURNS int AS BEGIN RETURN @n END",
         TCreatedName{"dbo", "Former"}},
        {"a function's parameters right after its name", "IF",
         "CREATE FUNCTION dbo.Former(@n int) RETURNS TABLE AS RETURN SELECT @n AS n",
         TCreatedName{"dbo", "Former"}},
        {"a trigger", "TR", "CREATE TRIGGER dbo.trFormer ON dbo.Orders AFTER INSERT AS SELECT 1",
         TCreatedName{"dbo", "trFormer"}},
        {"a delimited name with a space and a bracket", "V",
         "CREATE VIEW [dbo].[Old ]]View] AS SELECT 1 AS a", TCreatedName{"dbo", "Old ]View"}},
        {"a name in double quotes", "V", "CREATE VIEW \"dbo\".\"Old View\" AS SELECT 1 AS a",
         TCreatedName{"dbo", "Old View"}},
        {"comments before and between the words", "V",
         "/* made by\r\nhand */ -- CREATE VIEW dbo.Other\r\nCREATE /* a note */ VIEW dbo.Former AS SELECT 1 "
         "AS a",
         TCreatedName{"dbo", "Former"}},
        {"a comment naming its own name", "V",
         "-- CREATE VIEW dbo.Former\r\nCREATE VIEW dbo.Current AS SELECT 1 AS a", std::nullopt},
        {"a text that alters", "V", "ALTER VIEW dbo.Former AS SELECT 1 AS a", std::nullopt},
        {"a text that creates no module", "V", "CREATE TABLE dbo.Former (a int)", std::nullopt},
        {"a text too short for a name", "V", "CREATE VIEW", std::nullopt},
        {"an empty text", "V", "", std::nullopt},
    };
    const CNameMatcher matcher(false);
    for (const TCreatedCase& test : aCases) {
        const TModelModule module = Module("dbo", "Current", test.pszType, test.pszDefinition);
        EXPECT_EQ(Shown(CreatedOtherName(module, matcher)), Shown(test.created)) << test.pszCase;
    }
}

TEST(CreatedName, UnderACaseSensitiveCollationAnotherCaseIsAnotherName) {
    const TModelModule module = Module("dbo", "Current", "V", "CREATE VIEW dbo.current AS SELECT 1 AS a");
    EXPECT_EQ(Shown(CreatedOtherName(module, CNameMatcher(false))), "none");
    EXPECT_EQ(Shown(CreatedOtherName(module, CNameMatcher(true))), "[dbo].[current]");
    const TModelModule schema = Module("dbo", "Current", "V", "CREATE VIEW DBO.Current AS SELECT 1 AS a");
    EXPECT_EQ(Shown(CreatedOtherName(schema, CNameMatcher(true))), "[DBO].[Current]");
}

} // namespace
