// Golden literals: each folder under cases/literals holds `values`, a value a line as the driver reads it
// (the column's type, then its fields, TAB-separated; \N is NULL, \r \n \t \\ and \xHH spell bytes; lines
// starting with # explain), and `expected`, the literal of each value a line, or (refused).
#include "cases/CaseSupport.h"
#include "recreate/DataValues.h"

#include <sstream>

namespace {

std::optional<std::string> Unescape(const std::string& strField) {
    if (strField == "\\N")
        return std::nullopt;
    std::string str;
    for (size_t i = 0; i < strField.size(); ++i) {
        if (strField[i] != '\\' || i + 1 == strField.size()) {
            str += strField[i];
            continue;
        }
        const char ch = strField[++i];
        if (ch == 'x') {
            str += static_cast<char>(std::stoi(strField.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            str += ch == 'r' ? '\r' : ch == 'n' ? '\n' : ch == 't' ? '\t' : ch;
    }
    return str;
}

std::string Literal(const std::string& strLine) {
    const size_t nTab = strLine.find('\t');
    TDbRowText aFields;
    for (size_t nAt = nTab; nAt != std::string::npos;) {
        const size_t nEnd = strLine.find('\t', nAt + 1);
        aFields.push_back(
            Unescape(strLine.substr(nAt + 1, nEnd == std::string::npos ? nEnd : nEnd - nAt - 1)));
        nAt = nEnd;
    }
    const TDataType* pType = FindDataType(strLine.substr(0, nTab));
    std::string strOut;
    std::vector<TDbValue> aValues;
    if (!pType || aFields.size() != FieldCount(*pType) ||
        !AppendLiteral(strOut, *pType, ViewRow(aFields, aValues).data()))
        return "(refused)";
    return strOut;
}

class LiteralCase : public testing::TestWithParam<std::string> {};

TEST_P(LiteralCase, WritesEachValueBack) {
    const std::string strCase = std::string(SCRIPTS_CASES_DIR) + "/literals/" + GetParam();
    std::istringstream values(ReadWholeFile(strCase + "/values"));
    std::string strActual;
    for (std::string strLine; std::getline(values, strLine);)
        if (!strLine.empty() && strLine.front() != '#')
            strActual += Literal(strLine) + "\n";
    EXPECT_SCRIPT(strActual, ReadWholeFile(strCase + "/expected"));
}

INSTANTIATE_TEST_SUITE_P(Literals, LiteralCase, testing::ValuesIn(CaseNames("literals")), CaseTestName);

} // namespace
