// Scripts a table, lists a view's columns and exports the views of a catalog snapshot through the
// installed library; compares each result with the expected file. Exit status 0 when all match.
#include <scripts/ScriptApi.h>
#include <scripts/ScriptUnloader.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Same(const char* what, const std::string& actual, const std::string& expectedPath) {
    if (actual == ReadBytes(expectedPath))
        return true;
    std::fprintf(stderr, "consumer: %s differs from %s\n", what, expectedPath.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: consumer SNAPSHOT EXPECTED_DIR OUT_DIR\n");
        return 2;
    }
    const std::string snapshot = argv[1];
    const std::string expected = argv[2];
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + snapshot).c_str(), CDatabase::noOdbcDialog);

    CString script;
    CString fields;
    if (!GenerateSQLScriptObject(db, "Totals", script, true) ||
        !GenerateSQLScriptFields(db, "vTotals", fields))
        return 1;

    CScriptUnloader unloader(db, nullptr, argv[3]);
    unloader.m_aFiles[eSqlViews].bEnabled = 1;
    unloader.m_aFiles[eSqlViews].strFile = "Views.sql";
    unloader.ExecScriptData();

    const bool ok =
        Same("object Totals", script.GetString(), expected + "/objects/Totals.sql") &&
        Same("fields of vTotals", fields.GetString(), expected + "/fields/vTotals.txt") &&
        Same("Views.sql", ReadBytes(std::string(argv[3]) + "/Views.sql"), expected + "/Views.sql");
    return ok ? 0 : 1;
}
