#include "platform/Text.h"

#include <algorithm>

std::string JoinText(const std::vector<std::string>& aItems, std::string_view strSeparator) {
    std::string str;
    for (const std::string& strItem : aItems) {
        if (&strItem != &aItems.front())
            str += strSeparator;
        str += strItem;
    }
    return str;
}

void AppendDoubled(std::string& strOut, std::string_view strText, char chQuote) {
    for (size_t nQuote = strText.find(chQuote); nQuote != std::string_view::npos;
         nQuote = strText.find(chQuote)) {
        strOut.append(strText.substr(0, nQuote + 1)).append(1, chQuote);
        strText.remove_prefix(nQuote + 1);
    }
    strOut.append(strText);
}

std::string Doubled(std::string_view strText, char chQuote) {
    std::string str;
    str.reserve(strText.size() + 2);
    AppendDoubled(str, strText, chQuote);
    return str;
}

std::vector<std::string> SplitList(std::string_view strList) {
    std::vector<std::string> aItems;
    while (!strList.empty()) {
        const size_t nComma = std::min(strList.find(','), strList.size());
        if (nComma > 0)
            aItems.emplace_back(strList.substr(0, nComma));
        strList.remove_prefix(std::min(nComma + 1, strList.size()));
    }
    return aItems;
}
