// Catalog texts reach the faithful scripts as they are: expressions, names and definitions of any bytes.
#include "recreate/DdlText.h"
#include "scripting/SqlText.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize) {
    const std::string strText(reinterpret_cast<const char*>(pData), nSize);
    // An expression comes out in a pair of parentheses, and holds the text unchanged.
    const std::string strExpression = Parenthesized(strText);
    if (strExpression.size() < 2 || strExpression.front() != '(' || strExpression.back() != ')' ||
        strExpression.find(strText) == std::string::npos)
        std::abort();
    // Between its brackets a name has every ']' doubled, so no bracket closes it early.
    const std::string strName = QuoteName(strText);
    for (size_t i = 1; i + 1 < strName.size(); ++i)
        if (strName[i] == ']' && strName[++i] != ']')
            std::abort();
    FindSqlNames(strText.c_str());
    return 0;
}
