#include "apply/ScriptLexer.h"

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

size_t SkipBlockComment(std::string_view strText, size_t nAt, int& nDepth) {
    while (nDepth > 0 && nAt < strText.size()) {
        const size_t nMark = strText.find_first_of("*/", nAt);
        if (nMark == std::string_view::npos || nMark + 1 >= strText.size())
            return strText.size();
        const char chNext = strText[nMark + 1];
        if (strText[nMark] == '*' && chNext == '/') {
            --nDepth;
            nAt = nMark + 2;
        } else if (strText[nMark] == '/' && chNext == '*') {
            ++nDepth;
            nAt = nMark + 2;
        } else {
            nAt = nMark + 1;
        }
    }
    return nAt;
}

size_t SkipQuoted(std::string_view strText, size_t nAt, char& chClose) {
    while (nAt < strText.size()) {
        const size_t nQuote = strText.find(chClose, nAt);
        if (nQuote == std::string_view::npos)
            return strText.size();
        // Doubled, it stands for itself.
        if (nQuote + 1 < strText.size() && strText[nQuote + 1] == chClose) {
            nAt = nQuote + 2;
            continue;
        }
        chClose = 0;
        return nQuote + 1;
    }
    return nAt;
}

void CScriptLexer::Read(std::string_view strText) {
    size_t nAt = 0;
    while (nAt < strText.size()) {
        if (m_nCommentDepth > 0) {
            nAt = SkipBlockComment(strText, nAt, m_nCommentDepth);
            continue;
        }
        if (m_chClose != 0) {
            nAt = SkipQuoted(strText, nAt, m_chClose);
            continue;
        }
        const size_t nMark = strText.find_first_of("-/'\"[", nAt);
        if (nMark == std::string_view::npos)
            return;
        const char ch = strText[nMark];
        const char chNext = nMark + 1 < strText.size() ? strText[nMark + 1] : '\0';
        nAt = nMark + 1;
        if (ch == '-' && chNext == '-') {
            const size_t nEnd = strText.find('\n', nMark);
            nAt = nEnd == std::string_view::npos ? strText.size() : nEnd + 1;
        } else if (ch == '/' && chNext == '*') {
            m_nCommentDepth = 1;
            nAt = nMark + 2;
        } else {
            m_chClose = ClosingQuote(ch);
        }
    }
}
