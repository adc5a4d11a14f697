#include "scripting/DefaultsRules.h"

#include "scripting/SqlText.h"

#include <cstring>
#include <string>

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
