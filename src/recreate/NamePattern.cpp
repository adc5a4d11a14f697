#include "recreate/NamePattern.h"

#include "platform/Unicode.h"

#include <cctype>

namespace {

// Wildcard matching of a whole text, * for any run of characters (backtracking to the last star only).
bool MatchesWildcards(std::string_view str, std::string_view strPattern) {
    size_t nText = 0, nPattern = 0, nStar = std::string_view::npos, nStarText = 0;
    while (nText < str.size()) {
        if (nPattern < strPattern.size() && strPattern[nPattern] == '*') {
            nStar = nPattern++;
            nStarText = nText;
        } else if (nPattern < strPattern.size() && strPattern[nPattern] == str[nText]) {
            ++nPattern;
            ++nText;
        } else if (nStar != std::string_view::npos) {
            nPattern = nStar + 1;
            nText = ++nStarText;
        } else {
            return false;
        }
    }
    return strPattern.find_first_not_of('*', nPattern) == std::string_view::npos;
}

} // namespace

// Collation names are words joined by '_': Latin1_General_CS_AS, SQL_Latin1_General_CP1_CI_AS,
// Latin1_General_100_BIN2.
bool IsCaseSensitiveCollation(std::string_view strCollation) {
    for (size_t nStart = 0; nStart <= strCollation.size();) {
        size_t nEnd = strCollation.find('_', nStart);
        if (nEnd == std::string_view::npos)
            nEnd = strCollation.size();
        std::string strWord(strCollation.substr(nStart, nEnd - nStart));
        for (char& ch : strWord)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (strWord == "CS" || strWord == "BIN" || strWord == "BIN2")
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

std::string CNameMatcher::Key(std::string_view strName) const {
    return m_bCaseSensitive ? std::string(strName) : FoldCaseUtf8(strName);
}

bool CNameMatcher::Same(std::string_view strName, std::string_view strOther) const {
    return Key(strName) == Key(strOther);
}

bool CNameMatcher::Matches(std::string_view strName, std::string_view strPattern) const {
    return MatchesWildcards(Key(strName), Key(strPattern));
}

bool CNameMatcher::MatchesQualified(std::string_view strSchema, std::string_view strName,
                                    std::string_view strPattern) const {
    const size_t nDot = strPattern.find('.');
    if (nDot == std::string_view::npos)
        return Matches(strName, strPattern);
    return Matches(strSchema, strPattern.substr(0, nDot)) && Matches(strName, strPattern.substr(nDot + 1));
}
