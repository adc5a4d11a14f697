// Scripts a table and exports the views of a catalog snapshot through the installed library, and loads the
// catalog model of another to script one table faithfully; compares each result with the expected file.
// Exit status 0 when all match.
#include <scripts/Recreate.h>
#include <scripts/ScriptApi.h>
#include <scripts/ScriptUnloader.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

static std::string ReadBytes(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

static bool Same(const std::string& actual, const std::string& expectedPath) {
    if (actual == ReadBytes(expectedPath))
        return true;
    std::fprintf(stderr, "consumer: the result differs from %s\n", expectedPath.c_str());
    return false;
}

// The faithful script of the model's table dbo.Customer.
static std::string RecreateCustomer(const char* snapshot) {
    CDatabase db;
    db.OpenEx((std::string("SNAPSHOT=") + snapshot).c_str(), CDatabase::noOdbcDialog);
    const TCatalogModel model = LoadCatalogModel(db);
    for (const TRecreateStep& step : ScriptCatalogModel(model).aSteps)
        if (step.eKind == eModelKind::Table && step.strSchema == "dbo" && step.strName == "Customer")
            return step.strText;
    return std::string();
}

// Arguments: the snapshot, the folder of expected files, the output folder; a snapshot for the catalog model,
// the expected script of its table dbo.Customer.
int main(int, char** argv) {
    const std::string expected = argv[2];
    CDatabase db;
    db.OpenEx((std::string("SNAPSHOT=") + argv[1]).c_str(), CDatabase::noOdbcDialog);
    CString script;
    if (!GenerateSQLScriptObject(db, "Totals", script, true))
        return 1;
    CScriptUnloader unloader(db, nullptr, argv[3]);
    unloader.m_aFiles[eSqlViews] = {1, "Views.sql"};
    unloader.ExecScriptData();
    const bool ok = Same(script.GetString(), expected + "/objects/Totals.sql") &&
                    Same(ReadBytes(std::string(argv[3]) + "/Views.sql"), expected + "/Views.sql") &&
                    Same(RecreateCustomer(argv[4]), argv[5]);
    return ok ? 0 : 1;
}
