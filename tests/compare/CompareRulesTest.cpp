// The rules a migration decides by: which change of a column's type may lose values (and so is refused
// without --allow-data-loss, and checked at run time with it), and a module's stored text as a CREATE.
#include "recreate/ChangeRules.h"
#include "recreate/DdlText.h"
#include "recreate/KindProperties.h"

#include <gtest/gtest.h>

namespace {

// A system type as the model has it: the length in bytes (-1 for max).
TModelDataType Type(const std::string& strName, int nMaxLength = 0, int nPrecision = 0, int nScale = 0) {
    return TModelDataType{strName, "", strName, nMaxLength, nPrecision, nScale};
}

struct TNarrowing {
    const char* pszCase;
    TModelDataType from, to;
    bool bNarrowing;
};

TEST(CompareRules, NarrowingIsEveryChangeThatMayNotHoldAValue) {
    const TModelDataType phone{"Phone", "dbo", "varchar", 24, 0, 0};
    const TNarrowing aCases[] = {
        {"a wider integer", Type("int", 4, 10), Type("bigint", 8, 19), false},
        {"a narrower integer", Type("bigint", 8, 19), Type("int", 4, 10), true},
        {"tinyint to smallint", Type("tinyint", 1, 3), Type("smallint", 2, 5), false},
        {"a longer varchar", Type("varchar", 10), Type("varchar", 20), false},
        {"a shorter varchar", Type("varchar", 20), Type("varchar", 10), true},
        {"varchar to max", Type("varchar", 8000), Type("varchar", -1), false},
        {"max to varchar", Type("varchar", -1), Type("varchar", 8000), true},
        {"char to a varchar as long", Type("char", 10), Type("varchar", 10), false},
        {"varchar to an nvarchar as long", Type("varchar", 10), Type("nvarchar", 20), false},
        {"nvarchar to a varchar as long", Type("nvarchar", 20), Type("varchar", 10), true},
        {"nvarchar to a shorter nvarchar", Type("nvarchar", 40), Type("nvarchar", 20), true},
        {"a longer varbinary", Type("varbinary", 16), Type("varbinary", 32), false},
        {"a shorter binary", Type("binary", 32), Type("binary", 16), true},
        {"more digits and decimals", Type("decimal", 9, 18, 2), Type("decimal", 13, 20, 4), false},
        {"fewer decimals", Type("decimal", 9, 19, 4), Type("decimal", 9, 19, 2), true},
        {"fewer whole digits", Type("decimal", 9, 19, 4), Type("decimal", 9, 12, 4), true},
        {"numeric as decimal", Type("numeric", 9, 18, 2), Type("numeric", 9, 18, 2), false},
        {"a datetime2 of fewer digits", Type("datetime2", 8, 27, 7), Type("datetime2", 7, 23, 3), true},
        {"a time of more digits", Type("time", 3, 8, 0), Type("time", 5, 16, 7), false},
        {"another family", Type("int", 4, 10), Type("decimal", 9, 18, 0), true},
        {"float to real", Type("float", 8, 53), Type("real", 4, 24), true},
        {"the same type", Type("int", 4, 10), Type("int", 4, 10), false},
        {"to an alias type", Type("varchar", 24), phone, true},
        {"the same alias type", phone, phone, false},
    };
    for (const TNarrowing& test : aCases)
        EXPECT_EQ(IsNarrowing(test.from, test.to), test.bNarrowing) << test.pszCase;
}

TEST(CompareRules, AStoredAlterOrCreateOrAlterReadsAsItsCreate) {
    const std::pair<const char*, const char*> aCases[] = {
        {"CREATE VIEW v AS SELECT 1", "CREATE VIEW v AS SELECT 1"},
        {"ALTER VIEW v AS SELECT 1", "CREATE VIEW v AS SELECT 1"},
        {"alter\tprocedure p as select 1", "CREATE\tprocedure p as select 1"},
        {"Create Or Alter FUNCTION f() RETURNS int AS BEGIN RETURN 1 END",
         "CREATE FUNCTION f() RETURNS int AS BEGIN RETURN 1 END"},
        {"/* made by hand */\r\n-- ALTER here is a comment\r\nALTER TRIGGER t ON x AFTER INSERT AS SELECT 1",
         "/* made by hand */\r\n-- ALTER here is a comment\r\nCREATE TRIGGER t ON x AFTER INSERT AS SELECT "
         "1"},
        {"/* outer /* nested */ still a comment */ ALTER VIEW v AS SELECT 2",
         "/* outer /* nested */ still a comment */ CREATE VIEW v AS SELECT 2"},
        {"create  or\r\n  alter procedure p as select 1", "CREATE procedure p as select 1"},
        {"CREATE ORDER", "CREATE ORDER"},
        {"CREATE OR ALTERED", "CREATE OR ALTERED"},
        {"ALTERED VIEW", "ALTERED VIEW"},
        {"SELECT 'ALTER VIEW'", "SELECT 'ALTER VIEW'"},
        {"", ""},
    };
    for (const auto& [pszStored, pszCreate] : aCases)
        EXPECT_EQ(DefinitionAsCreated(pszStored), pszCreate) << pszStored;
}

} // namespace
