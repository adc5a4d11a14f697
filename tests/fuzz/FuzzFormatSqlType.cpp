// Type names and sizes come from the catalog; any of them must give some text without a crash.
#include "scripting/ColumnTypes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int TakeInt(const std::uint8_t*& pData, size_t& nSize) {
    std::int32_t nValue = 0;
    const size_t nTaken = std::min(nSize, sizeof nValue);
    std::memcpy(&nValue, pData, nTaken);
    pData += nTaken;
    nSize -= nTaken;
    return nValue;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize) {
    TSqlTypeInfo info;
    info.nMaxLength = TakeInt(pData, nSize);
    info.nPrecision = TakeInt(pData, nSize);
    info.nScale = TakeInt(pData, nSize);
    info.bUserDefined = TakeInt(pData, nSize) & 1;
    info.strTypeName = std::string(reinterpret_cast<const char*>(pData), nSize).c_str();
    // Every type text begins with the bracketed name.
    if (!FormatSqlType(info).Str().starts_with("[" + info.strTypeName.Str() + "]"))
        std::abort();
    (void)IsCharType(info.strTypeName);
    (void)IsNCharType(info.strTypeName);
    (void)IsBinaryType(info.strTypeName);
    (void)IsNumericType(info.strTypeName);
    return 0;
}
