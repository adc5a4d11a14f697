// Values come from the server as the driver gives them; any text must give a literal or a refusal without a
// crash, and no literal may hold a control character: a value never breaks a line of the script.
#include "recreate/DataValues.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 16> kTypes = {
    "int",         "decimal", "float",    "real",      "nvarchar",       "varchar",          "binary",
    "date",        "time",    "datetime", "datetime2", "datetimeoffset", "uniqueidentifier", "sql_variant",
    "hierarchyid", "xml"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize) {
    if (nSize == 0)
        return 0;
    const TDataType* pType = FindDataType(kTypes[pData[0] % kTypes.size()]);
    // The fields, TAB-separated; a field "\N" is NULL.
    std::vector<TDbValue> aFields;
    const std::string_view strInput(reinterpret_cast<const char*>(pData + 1), nSize - 1);
    for (size_t nAt = 0; aFields.size() < FieldCount(*pType);) {
        const size_t nEnd = std::min(strInput.find('\t', nAt), strInput.size());
        const std::string_view strField = nAt < strInput.size() ? strInput.substr(nAt, nEnd - nAt) : "";
        aFields.push_back(strField == "\\N" ? TDbValue() : TDbValue(strField));
        nAt = nEnd + 1;
    }
    std::string strOut;
    if (AppendLiteral(strOut, *pType, aFields.data()) &&
        std::any_of(strOut.begin(), strOut.end(),
                    [](char ch) { return (ch >= 0 && ch < 0x20) || ch == 0x7F; }))
        std::abort();
    return 0;
}
