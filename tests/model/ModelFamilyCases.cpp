// Golden cases of the model loader: each folder under cases/model holds a recorded answer (snapshot.json) and
// either the model made of it as DumpModel writes it (expected) or the line of the error its load fails with
// (error). Each case is loaded on one connection and on three, which read the families at once.
#include "cases/CaseSupport.h"
#include "model/ModelDump.h"
#include "model/ModelLoader.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class ModelCase : public testing::TestWithParam<std::string> {};

TEST_P(ModelCase, ReadsTheRecordedAnswerIntoTheModel) {
    const fs::path dir = fs::path(SCRIPTS_CASES_DIR) / "model" / GetParam();
    const bool bError = fs::exists(dir / "error");
    const std::string strExpected = ReadWholeFile((dir / (bError ? "error" : "expected")).string());
    for (const int nConnections : {1, 3}) {
        CDatabase db;
        db.OpenEx(("SNAPSHOT=" + (dir / "snapshot.json").string()).c_str(), CDatabase::noOdbcDialog);
        std::string strActual;
        try {
            strActual = DumpModel(LoadCatalogModel(db, nConnections));
        } catch (const CModelError& error) {
            strActual = std::string(error.what()) + "\n";
        }
        EXPECT_SCRIPT(strActual, strExpected) << nConnections << " connections";
    }
}

INSTANTIATE_TEST_SUITE_P(Model, ModelCase, testing::ValuesIn(CaseNames("model")), CaseTestName);

} // namespace
