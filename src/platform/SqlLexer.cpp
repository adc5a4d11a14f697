#include "platform/SqlLexer.h"

#include <algorithm>

bool IsPairAt(std::string_view strText, size_t nAt, char chFirst, char chSecond) {
    return nAt + 1 < strText.size() && strText[nAt] == chFirst && strText[nAt + 1] == chSecond;
}

size_t SkipBlockComment(std::string_view strText, size_t nAt, int& nDepth) {
    while (nDepth > 0 && nAt < strText.size()) {
        const size_t nMark = strText.find_first_of("*/", nAt);
        if (nMark == std::string_view::npos || nMark + 1 >= strText.size())
            return strText.size();
        if (IsPairAt(strText, nMark, '*', '/')) {
            --nDepth;
            nAt = nMark + 2;
        } else if (IsPairAt(strText, nMark, '/', '*')) {
            ++nDepth;
            nAt = nMark + 2;
        } else {
            nAt = nMark + 1;
        }
    }
    return nAt;
}

size_t LineCommentEnd(std::string_view strText, size_t nAt, eSqlLineEnd eLineEnd) {
    return std::min(strText.find_first_of(eLineEnd == eSqlLineEnd::Lf ? "\n" : "\r\n", nAt), strText.size());
}

char ClosingQuote(char ch) {
    switch (ch) {
    case '\'':
    case '"':
        return ch;
    case '[':
        return ']';
    default:
        return 0;
    }
}

size_t SkipQuoted(std::string_view strText, size_t nAt, char& chClose) {
    while (nAt < strText.size()) {
        const size_t nQuote = strText.find(chClose, nAt);
        if (nQuote == std::string_view::npos)
            return strText.size();
        // Doubled, it stands for itself.
        if (IsPairAt(strText, nQuote, chClose, chClose)) {
            nAt = nQuote + 2;
            continue;
        }
        chClose = 0;
        return nQuote + 1;
    }
    return nAt;
}

std::string ReadQuoted(std::string_view strText, size_t& nAt) {
    const char chQuote = ClosingQuote(strText[nAt]);
    const size_t nStart = nAt + 1;
    char chClose = chQuote;
    nAt = SkipQuoted(strText, nStart, chClose);
    const std::string_view strInside = strText.substr(nStart, nAt - nStart - (chClose ? 0 : 1));
    std::string str;
    str.reserve(strInside.size());
    for (size_t i = 0; i < strInside.size(); ++i) {
        str += strInside[i];
        if (IsPairAt(strInside, i, chQuote, chQuote))
            ++i;
    }
    return str;
}
