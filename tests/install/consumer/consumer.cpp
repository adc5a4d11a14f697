// Scripts a table and exports the views of a catalog snapshot through the installed library, loads the
// catalog model of another to script one table faithfully, and exports that one's faithful scripts into a
// folder as a job; compares each result with the expected files. Exit status 0 when all match.
#include <scripts/ExportJobs.h>
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

// Counts the warnings, which the consumer leaves unsaid.
class CWarnings : public IExportObserver {
public:
    void OnNotice(const TJobNotice&) override { ++m_nHeard; }
    int m_nHeard = 0;
};

// The faithful scripts of the snapshot exported into the folder out: the manifest, and every file it lists,
// as in the folder expected.
static bool RecreateFolder(const std::string& snapshot, const std::string& expected, const std::string& out) {
    TRecreateExportOptions options;
    options.strDir = out;
    CWarnings observer;
    const auto connect = [&snapshot](CDatabase& db) {
        return db.OpenEx(("SNAPSHOT=" + snapshot).c_str(), CDatabase::noOdbcDialog) != 0;
    };
    if (ExportRecreate(connect, options, observer).eEnd != eJobEnd::Done || observer.m_nHeard == 0)
        return false;
    bool same = Same(ReadBytes(out + "/manifest.txt"), expected + "/manifest.txt");
    std::ifstream manifest(expected + "/manifest.txt");
    for (std::string file; std::getline(manifest, file);)
        same = Same(ReadBytes(out + "/" + file), expected + "/" + file) && same;
    return same;
}

// Arguments: the snapshot, the folder of expected files, the output folder; a snapshot for the catalog model,
// the expected script of its table dbo.Customer; the folder of that snapshot's expected faithful scripts and
// the folder to write them into.
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
                    Same(RecreateCustomer(argv[4]), argv[5]) && RecreateFolder(argv[4], argv[6], argv[7]);
    return ok ? 0 : 1;
}
