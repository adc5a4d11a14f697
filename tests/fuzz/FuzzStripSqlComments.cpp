// Catalog definitions reach StripSqlComments as they are: any bytes, unbalanced comment markers included.
#include "scripting/DefaultsRules.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize) {
    const std::string strText = std::string(reinterpret_cast<const char*>(pData), nSize).c_str();
    CString strResult;
    StripSqlComments(strText.c_str(), strResult);
    // Stripping only ever removes text.
    if (static_cast<size_t>(strResult.GetLength()) > strText.size())
        std::abort();
    return 0;
}
