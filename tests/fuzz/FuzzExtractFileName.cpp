// Paths typed by the user: the name shown in the replace question is the part after the last separator.
#include "export/ScriptFiles.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize) {
    const std::string strPath(reinterpret_cast<const char*>(pData), nSize);
    const std::string strInput = strPath.c_str(); // the function sees the text up to the first NUL
    const CString strName = ExtractFileName(strInput.c_str());
    const std::string& strResult = strName.Str();
    if (strResult.find_first_of("/\\") != std::string::npos)
        std::abort();
    if (!strInput.ends_with(strResult))
        std::abort();
    return 0;
}
