// Reading T-SQL text: comments, and the object names a definition uses.
#pragma once

#include "platform/String.h"

#include <cstddef>
#include <vector>

// True when the two characters at nPos are chFirst and chSecond.
bool IsPairAt(const char* pszText, size_t nLength, size_t nPos, char chFirst, char chSecond);
// The position after the block comment whose body starts at nPos (comments nest); the text's end when
// unclosed.
size_t SkipBlockComment(const char* pszText, size_t nLength, size_t nPos);
// The position after the line comment whose body starts at nPos, taking one line end of at most two
// characters (CR LF, LF CR, CR CR or LF LF) with it.
size_t SkipLineComment(const char* pszText, size_t nLength, size_t nPos);

// A name as a text writes it: schema empty when the name is not qualified.
struct TSqlName {
    CString strSchema;
    CString strName;
    bool bBare = false; // the name itself written without brackets or quotes: a keyword, perhaps
};

// Every identifier outside comments and string literals, bare, in brackets or in double quotes, with its
// schema when it is written qualified (of a longer chain, the last two parts).
std::vector<TSqlName> FindSqlNames(const char* pszText);
