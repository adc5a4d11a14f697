// The example catalog's expected single-object results, each file one case: objects/<name>.sql through
// GenerateSQLScriptObject (without collation), fields/<name>.txt through GenerateSQLScriptFields,
// explicit/<category>/<name>.sql through GetSqlScriptObject.
#include "api/ApiTestSupport.h"

#include "scripts/ScriptApi.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TExpectedFile {
    std::string strKind; // objects, fields or explicit
    std::string strCategory;
    std::string strName;
    std::string strPath;
};

void PrintTo(const TExpectedFile& file, std::ostream* pOut) {
    *pOut << file.strPath;
}

std::string ExpectedRoot() {
    return std::string(SCRIPTS_FIXTURES_DIR) + "/tiny/expected";
}

std::vector<TExpectedFile> FilesOf(const std::string& strKind) {
    std::vector<TExpectedFile> aFiles;
    const std::filesystem::path folder = ExpectedRoot() + "/" + strKind;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::filesystem::path relative = entry.path().lexically_relative(folder);
        const std::string strCategory = relative.has_parent_path() ? relative.parent_path().string() : "";
        aFiles.push_back({strKind, strCategory, entry.path().stem().string(), entry.path().string()});
    }
    return aFiles;
}

std::vector<TExpectedFile> AllExpectedFiles() {
    std::vector<TExpectedFile> aFiles;
    for (const char* pszKind : {"objects", "fields", "explicit"})
        for (TExpectedFile& file : FilesOf(pszKind))
            aFiles.push_back(std::move(file));
    return aFiles;
}

eSqlTypeObjects CategoryNamed(const std::string& strName) {
    static const std::map<std::string, eSqlTypeObjects> categories = {{"eSqlDefaults", eSqlDefaults},
                                                                      {"eSqlUdt", eSqlUdt},
                                                                      {"eSqlTables", eSqlTables},
                                                                      {"eSqlPK", eSqlPK},
                                                                      {"eSqlFK", eSqlFK},
                                                                      {"eSqlFullText", eSqlFullText},
                                                                      {"eSqlSchemas", eSqlSchemas},
                                                                      {"eSqlViews", eSqlViews},
                                                                      {"eSqlTriggers", eSqlTriggers},
                                                                      {"eSqlStoredProc", eSqlStoredProc},
                                                                      {"eSqlIndexes", eSqlIndexes},
                                                                      {"eSqlChecks", eSqlChecks},
                                                                      {"eSqlUdf", eSqlUdf}};
    const auto it = categories.find(strName);
    return it == categories.end() ? eSqlUnknown : it->second;
}

std::string ReadBytes(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class TinyExampleApiTest : public CApiTest, public ::testing::WithParamInterface<TExpectedFile> {
protected:
    std::string SnapshotName() const override { return "tiny/snapshot.json"; }
};

TEST_P(TinyExampleApiTest, GivesTheExpectedText) {
    const TExpectedFile& file = GetParam();
    CString strText = "old";
    if (file.strKind == "objects") {
        EXPECT_EQ(GenerateSQLScriptObject(m_db, file.strName.c_str(), strText, true), 1);
    } else if (file.strKind == "fields") {
        EXPECT_EQ(GenerateSQLScriptFields(m_db, file.strName.c_str(), strText), 1);
    } else {
        ASSERT_NE(CategoryNamed(file.strCategory), eSqlUnknown) << file.strCategory;
        const TErrState state =
            GetSqlScriptObject(m_db, CategoryNamed(file.strCategory), file.strName.c_str(), strText, true);
        EXPECT_EQ(state.nError, 0);
        EXPECT_EQ(state.strMessage.Str(), "");
    }
    EXPECT_EQ(strText.Str(), ReadBytes(file.strPath));
    EXPECT_THAT(ShownBoxes(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Expected, TinyExampleApiTest, ::testing::ValuesIn(AllExpectedFiles()),
                         [](const ::testing::TestParamInfo<TExpectedFile>& info) {
                             std::string strName =
                                 info.param.strKind + "_" + info.param.strCategory + "_" + info.param.strName;
                             for (char& ch : strName)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return strName;
                         });

} // namespace
