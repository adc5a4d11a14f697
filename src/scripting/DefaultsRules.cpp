#include "scripting/DefaultsRules.h"

#include <cstring>
#include <string>

namespace {

bool IsLineEnd(char ch) {
    return ch == '\r' || ch == '\n';
}

bool IsPairAt(const char* pszText, size_t nLength, size_t nPos, char chFirst, char chSecond) {
    return nPos + 1 < nLength && pszText[nPos] == chFirst && pszText[nPos + 1] == chSecond;
}

// The position after the block comment whose body starts at nPos; the text's end when unclosed.
size_t SkipBlockComment(const char* pszText, size_t nLength, size_t nPos) {
    for (int nDepth = 1; nPos < nLength && nDepth > 0;) {
        if (IsPairAt(pszText, nLength, nPos, '/', '*')) {
            ++nDepth;
            nPos += 2;
        } else if (IsPairAt(pszText, nLength, nPos, '*', '/')) {
            --nDepth;
            nPos += 2;
        } else {
            ++nPos;
        }
    }
    return nPos;
}

// The position after the line comment whose body starts at nPos, taking one line end of at most
// two characters (CR LF, LF CR, CR CR or LF LF) with it.
size_t SkipLineComment(const char* pszText, size_t nLength, size_t nPos) {
    while (nPos < nLength && !IsLineEnd(pszText[nPos]))
        ++nPos;
    if (nPos < nLength)
        ++nPos;
    if (nPos < nLength && IsLineEnd(pszText[nPos]))
        ++nPos;
    return nPos;
}

} // namespace

void StripSqlComments(const char* pszText, CString& strResult) {
    if (!pszText)
        return;
    const size_t nLength = std::strlen(pszText);
    std::string strOut;
    strOut.reserve(nLength + 1);
    for (size_t nPos = 0; nPos < nLength;) {
        if (IsPairAt(pszText, nLength, nPos, '/', '*'))
            nPos = SkipBlockComment(pszText, nLength, nPos + 2);
        else if (IsPairAt(pszText, nLength, nPos, '-', '-'))
            nPos = SkipLineComment(pszText, nLength, nPos + 2);
        else
            strOut += pszText[nPos++];
    }
    strResult = CString(std::move(strOut));
}

CString CSQLDefaults::ScriptAllObjects() {
    return CSQL_Defaults_Rules<CSQLRecDefaults>::ScriptAllObjects() +
           "\r\nSET QUOTED_IDENTIFIER ON \r\nGO \r\n";
}
