// Scripts reach the batch splitter as any bytes: unclosed comments, strings and names, odd GO lines, bytes
// that are not UTF-8, lines of any length.
#include "apply/BatchContent.h"
#include "apply/ScriptReader.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize) {
    const auto pText = std::make_shared<const std::string>(reinterpret_cast<const char*>(pData), nSize);
    try {
        CScriptReader reader(pText, std::string::npos);
        size_t nAt = 0;
        long nLine = 0;
        while (const std::optional<TScriptBatch> batch = reader.Next()) {
            // A batch is the script's text as written, after the batch before it, and begins on a later line.
            const size_t nFound = pText->find(batch->strText, nAt);
            if (nFound == std::string::npos || batch->nLine <= nLine || batch->nRepeat < 1)
                std::abort();
            nAt = nFound + batch->strText.size();
            nLine = batch->nLine;
            DescribeBatch(batch->strText);
        }
    } catch (CScriptException* e) {
        e->Delete();
    }
    return 0;
}
