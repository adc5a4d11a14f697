// The example catalog's expected export files and single-object texts of the table family.
#include "scripting/FullText.h"
#include "scripting/Indexes.h"
#include "scripting/Keys.h"
#include "scripting/Tables.h"

#include "TableScriptsTestSupport.h"

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

using namespace tablescripts_test;

namespace {

std::string TinyPath(const char* pszFile) {
    return std::string(SCRIPTS_EXAMPLES_DIR) + "/tiny/" + pszFile;
}

std::string ReadFile(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    EXPECT_TRUE(file.good()) << strPath;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

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

class TinyExampleTableFamilyTest : public CSnapshotTest {
protected:
    void SetUp() override {
        CSnapshotTest::SetUp();
        OpenSnapshot(TinyPath("snapshot.json"));
    }
};

} // namespace

TEST_F(TinyExampleTableFamilyTest, ExportFiles) {
    const TExportCase aCases[] = {
        {"expected/Tables.sql", CreateTablesExport},
        {"expected/PK.sql", [] { return std::make_unique<CSQLPKeys>(); }},
        {"expected/FK.sql", [] { return std::make_unique<CSQLForeignKeys>(); }},
        {"expected/Indexes.sql", [] { return std::make_unique<CSQLIndexes>(); }},
        {"expected/FullText.sql", [] { return std::make_unique<CSQLFullText>(); }},
    };
    for (const TExportCase& test : aCases) {
        SCOPED_TRACE(test.pszFile);
        EXPECT_TRUE(SameScript(ReadFile(TinyPath(test.pszFile)), test.createGenerator()->ScriptAllObjects()));
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TinyExampleTableFamilyTest, SingleTableAndItsColumns) {
    CSQLTable table;
    EXPECT_TRUE(
        SameScript(ReadFile(TinyPath("expected/objects/Totals.sql")), table.ScriptObject("dbo", "Totals")));
    EXPECT_TRUE(SameScript(ReadFile(TinyPath("expected/fields/Totals.txt")), table.GetColumnList("Totals")));
}

TEST_F(TinyExampleTableFamilyTest, SinglePrimaryKey) {
    CSQLPKeys keys;
    EXPECT_TRUE(SameScript(ReadFile(TinyPath("expected/objects/PK_Totals.sql")),
                           keys.ScriptObject("dbo", "PK_Totals")));
}
