// Golden cases of the batch splitter: each folder under cases/apply-split holds a script (script.sql) and the
// batches expected of it (batches): for each, the line it begins on, how often it runs, what it does as far
// as applying needs to know (rows into a table, settings, objects created and dropped, a statement that
// changes database, a transaction begun or ended or one it cannot run in), then its lines with CR, LF and
// TAB made visible; or the error that stops the reading.
#include "apply/BatchContent.h"
#include "apply/ScriptReader.h"
#include "cases/CaseSupport.h"
#include "recreate/CreateWords.h"

#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string Name(const TScriptName& name) {
    return MakeVisible(name.strSchema.empty() ? name.strName : name.strSchema + "." + name.strName);
}

std::string Describe(const TBatchContent& content) {
    std::string strOut;
    if (content.eKind == EBatchKind::Rows)
        strOut += "; rows into " + Name(content.table);
    if (content.eKind == EBatchKind::Settings)
        strOut += content.table.IsEmpty() ? "; settings" : "; settings of " + Name(content.table);
    for (const TCreatedObject& object : content.aCreated)
        strOut += "; creates " + std::string(CreateWordOf(object.eKind).strNoun) + " " + Name(object.name);
    for (const TCreatedObject& object : content.aDropped)
        strOut += "; drops " + std::string(CreateWordOf(object.eKind).strNoun) + " " + Name(object.name);
    if (!content.strDatabaseChange.empty())
        strOut += "; changes database: " + content.strDatabaseChange;
    if (content.bBeginsTransaction)
        strOut += "; begins a transaction";
    if (content.bEndsTransaction)
        strOut += "; ends a transaction";
    if (content.bOutsideTransaction)
        strOut += "; runs outside a transaction";
    return strOut;
}

std::string Batches(const fs::path& script) {
    std::string strOut;
    try {
        CScriptReader reader(script.string());
        while (const std::optional<TScriptBatch> batch = reader.Next()) {
            strOut += "batch at line " + std::to_string(batch->nLine);
            if (batch->nRepeat != 1)
                strOut += ", " + std::to_string(batch->nRepeat) + " times";
            strOut += Describe(DescribeBatch(batch->strText)) + ":\n";
            std::istringstream lines(batch->strText);
            for (std::string strLine; std::getline(lines, strLine);)
                strOut += MakeVisible(lines.eof() ? strLine : strLine + "\n") + "\n";
        }
    } catch (CScriptException* e) {
        const CExceptionPtr<> guard(e);
        strOut += "error: " + e->GetErrorText().Str() + "\n";
    }
    return strOut;
}

class BatchSplitterCase : public testing::TestWithParam<std::string> {};

TEST_P(BatchSplitterCase, SplitsAsExpected) {
    const fs::path dir = fs::path(SCRIPTS_CASES_DIR) / "apply-split" / GetParam();
    EXPECT_SCRIPT(Batches(dir / "script.sql"), ReadWholeFile((dir / "batches").string()));
}

INSTANTIATE_TEST_SUITE_P(ApplySplit, BatchSplitterCase, testing::ValuesIn(CaseNames("apply-split")),
                         CaseTestName);

} // namespace
