// The example catalog's expected export files and single-object texts of the table family.
#include "scripting/FullText.h"
#include "scripting/Indexes.h"
#include "scripting/Keys.h"
#include "scripting/Tables.h"

#include "scripting/ScriptTestSupport.h"

#include <functional>
#include <memory>

namespace {

struct TExportCase {
    const char* pszFile;
    std::function<std::unique_ptr<CSQLScript>()> createGenerator;
};

// The example was written with COLLATE clauses left out.
std::unique_ptr<CSQLScript> CreateTablesExport() {
    auto pTables = std::make_unique<CSQLTableInsertScript>();
    pTables->m_bScriptCollation = FALSE;
    return pTables;
}

} // namespace

TEST(TinyExampleTableFamilyTest, ExportFiles) {
    CSnapshotCatalog catalog(FixturePath("tiny/snapshot.json"));
    const TExportCase aCases[] = {
        {"expected/Tables.sql", CreateTablesExport},
        {"expected/PK.sql", [] { return std::make_unique<CSQLPKeys>(); }},
        {"expected/FK.sql", [] { return std::make_unique<CSQLForeignKeys>(); }},
        {"expected/Indexes.sql", [] { return std::make_unique<CSQLIndexes>(); }},
        {"expected/FullText.sql", [] { return std::make_unique<CSQLFullText>(); }},
    };
    for (const TExportCase& test : aCases) {
        SCOPED_TRACE(test.pszFile);
        EXPECT_SCRIPT(test.createGenerator()->ScriptAllObjects(),
                      ReadFixtureFile(std::string("tiny/") + test.pszFile));
    }
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(TinyExampleTableFamilyTest, SingleTableAndItsColumns) {
    CSnapshotCatalog catalog(FixturePath("tiny/snapshot.json"));
    CSQLTable table;
    EXPECT_SCRIPT(table.ScriptObject("dbo", "Totals"), ReadFixtureFile("tiny/expected/objects/Totals.sql"));
    EXPECT_SCRIPT(table.GetColumnList("Totals"), ReadFixtureFile("tiny/expected/fields/Totals.txt"));
}

TEST(TinyExampleTableFamilyTest, SinglePrimaryKey) {
    CSnapshotCatalog catalog(FixturePath("tiny/snapshot.json"));
    CSQLPKeys keys;
    EXPECT_SCRIPT(keys.ScriptObject("dbo", "PK_Totals"),
                  ReadFixtureFile("tiny/expected/objects/PK_Totals.sql"));
}
