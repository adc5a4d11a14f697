// Reading T-SQL text: comments, the object names a definition uses, and the objects those names resolve to.
#pragma once

#include "platform/String.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The module's text rules, on the one T-SQL lexer (platform/SqlLexer.h) over a text of nLength characters.
// True when the two characters at nPos are chFirst and chSecond.
bool IsPairAt(const char* pszText, size_t nLength, size_t nPos, char chFirst, char chSecond);
// The position after the block comment whose body starts at nPos (comments nest); the text's end when
// unclosed.
size_t SkipBlockComment(const char* pszText, size_t nLength, size_t nPos);
// The position after the line comment whose body starts at nPos, taking one line end of at most two
// characters (CR LF, LF CR, CR CR or LF LF) with it: a CR alone ends the line.
size_t SkipLineComment(const char* pszText, size_t nLength, size_t nPos);

// A name as a text writes it: schema empty when the name is not qualified.
struct TSqlName {
    CString strSchema;
    CString strName;
    bool bBare = false; // the name itself written without brackets or quotes: a keyword, perhaps
};

// Every identifier outside comments and string literals, bare, in brackets or in double quotes, with its
// schema when it is written qualified (of a longer chain, the last two parts); the first nMax of them.
std::vector<TSqlName> FindSqlNames(const char* pszText, size_t nMax = static_cast<size_t>(-1));

// Items of a list by schema and name, found as the server resolves a name that a text uses: a qualified one
// in its schema, an unqualified one in the referencing object's schema first, then in dbo. Names compare
// without regard to case: the catalog's collation is not known here, and on a case-sensitive database this at
// worst orders two objects that did not need it.
class CSqlNameIndex {
public:
    static constexpr size_t NONE = static_cast<size_t>(-1);

    // The first item added under a name keeps it.
    void Add(std::string_view strSchema, std::string_view strName, size_t nItem);
    // The item the name resolves to; NONE when there is none. strSchema is empty for an unqualified name.
    size_t Resolve(std::string_view strSchema, std::string_view strName, std::string_view strOwnSchema) const;

private:
    size_t Find(std::string_view strSchema, std::string_view strName) const;

    std::unordered_map<std::string, size_t> m_index;
};
