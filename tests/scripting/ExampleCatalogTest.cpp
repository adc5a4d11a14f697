#include "scripting/DefaultsRules.h"
#include "scripting/ModuleObjects.h"
#include "scripting/ScriptTestSupport.h"
#include "scripting/TypesSchemasChecks.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TExampleCategory {
    const char* pszFile;
    std::unique_ptr<CSQLScript> (*pfnCreate)();
};

template <class Script> std::unique_ptr<CSQLScript> Create() {
    return std::make_unique<Script>();
}

const TExampleCategory kCategories[] = {
    {"Defaults.sql", Create<CSQLDefaults>}, {"Udt.sql", Create<CSQLUserTypes>},
    {"Schemas.sql", Create<CSQLSchemas>},   {"Views.sql", Create<CSqlViews>},
    {"Triggers.sql", Create<CSqlTriggers>}, {"StoredProc.sql", Create<CSqlProcedures>},
    {"Checks.sql", Create<CSQLChecks>},     {"Udf.sql", Create<CSqlFunctions>},
};

} // namespace

TEST(ExampleCatalogTest, CategoryFilesMatchTheRecordedExample) {
    CSnapshotCatalog catalog(FixturePath("tiny/snapshot.json"));
    for (const TExampleCategory& category : kCategories) {
        SCOPED_TRACE(category.pszFile);
        EXPECT_SCRIPT(category.pfnCreate()->ScriptAllObjects(),
                      ReadFixtureFile(std::string("tiny/expected/") + category.pszFile));
    }
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(ExampleCatalogTest, SingleViewMatchesTheRecordedExample) {
    CSnapshotCatalog catalog(FixturePath("tiny/snapshot.json"));
    CSqlViews views;
    EXPECT_SCRIPT(views.ScriptObject("dbo", "vTotals"), ReadFixtureFile("tiny/expected/objects/vTotals.sql"));
}
