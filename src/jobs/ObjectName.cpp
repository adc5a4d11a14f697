#include "jobs/ObjectName.h"

namespace {

// Where the delimited part that starts at strText[nAt] ends: after its closing bracket or quote, or at the
// end.
size_t DelimitedEnd(std::string_view strText, size_t nAt, std::string* pPart) {
    const char chClose = strText[nAt] == '[' ? ']' : '"';
    for (++nAt; nAt < strText.size(); ++nAt) {
        if (strText[nAt] == chClose && nAt + 1 < strText.size() && strText[nAt + 1] == chClose)
            ++nAt;
        else if (strText[nAt] == chClose)
            return nAt + 1;
        if (pPart)
            *pPart += strText[nAt];
    }
    return nAt;
}

std::string Trimmed(std::string_view strText) {
    const size_t nFirst = strText.find_first_not_of(' ');
    return nFirst == std::string_view::npos
               ? std::string()
               : std::string(strText.substr(nFirst, strText.find_last_not_of(' ') + 1 - nFirst));
}

// The parts up to nMost, the last taking the rest of the text.
std::vector<std::string> Parts(std::string_view strText, size_t nMost) {
    std::vector<std::string> aParts{std::string()};
    for (size_t i = 0; i < strText.size(); ++i) {
        const char ch = strText[i];
        if ((ch == '[' || ch == '"') && aParts.back().empty())
            i = DelimitedEnd(strText, i, &aParts.back()) - 1;
        else if (ch == '.' && aParts.size() < nMost)
            aParts.emplace_back();
        else
            aParts.back() += ch;
    }
    return aParts;
}

} // namespace

TObjectName ParseObjectName(std::string_view strText) {
    const std::vector<std::string> aParts = Parts(strText, 2);
    return aParts.size() == 1 ? TObjectName{std::string(), aParts[0]} : TObjectName{aParts[0], aParts[1]};
}

std::vector<std::string> NameParts(std::string_view strText) {
    return Parts(strText, strText.size() + 1);
}

size_t FindUndelimited(std::string_view strText, char ch) {
    for (size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == '[' || strText[i] == '"')
            i = DelimitedEnd(strText, i, nullptr) - 1;
        else if (strText[i] == ch)
            return i;
    }
    return std::string_view::npos;
}

std::vector<std::string> SplitNameList(std::string_view strText) {
    std::vector<std::string> aItems;
    size_t nStart = 0;
    for (size_t i = 0; i <= strText.size(); ++i) {
        if (i < strText.size() && (strText[i] == '[' || strText[i] == '"')) {
            i = DelimitedEnd(strText, i, nullptr) - 1;
        } else if (i == strText.size() || strText[i] == ',') {
            aItems.push_back(Trimmed(strText.substr(nStart, i - nStart)));
            nStart = i + 1;
        }
    }
    return aItems;
}
