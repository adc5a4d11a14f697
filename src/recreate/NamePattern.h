// Names compared as the database compares them, and patterns of names with * for any run of characters: what
// picks the objects and tables an export writes.
#pragma once

#include <string>
#include <string_view>

// Whether the collation tells letter case apart: a case-sensitive (_CS) or binary (_BIN, _BIN2) one.
bool IsCaseSensitiveCollation(std::string_view strCollation);

class CNameMatcher {
public:
    explicit CNameMatcher(bool bCaseSensitive) : m_bCaseSensitive(bCaseSensitive) {}

    bool Same(std::string_view strName, std::string_view strOther) const;
    // The whole name matches the pattern, in which * stands for any run of characters (dots included).
    bool Matches(std::string_view strName, std::string_view strPattern) const;
    // SCHEMA.NAME: the pattern split at its first dot; a pattern without a dot is a name in any schema.
    bool MatchesQualified(std::string_view strSchema, std::string_view strName,
                          std::string_view strPattern) const;

private:
    std::string Key(std::string_view strName) const;

    bool m_bCaseSensitive;
};
