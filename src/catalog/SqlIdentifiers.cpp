#include "catalog/SqlIdentifiers.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <cwctype>
#include <locale.h>
#include <string_view>

namespace {

// T-SQL reserved keywords, upper case, sorted.
constexpr std::array<std::string_view, 185> kReservedKeywords = {
    "ADD",
    "ALL",
    "ALTER",
    "AND",
    "ANY",
    "AS",
    "ASC",
    "AUTHORIZATION",
    "BACKUP",
    "BEGIN",
    "BETWEEN",
    "BREAK",
    "BROWSE",
    "BULK",
    "BY",
    "CASCADE",
    "CASE",
    "CHECK",
    "CHECKPOINT",
    "CLOSE",
    "CLUSTERED",
    "COALESCE",
    "COLLATE",
    "COLUMN",
    "COMMIT",
    "COMPUTE",
    "CONSTRAINT",
    "CONTAINS",
    "CONTAINSTABLE",
    "CONTINUE",
    "CONVERT",
    "CREATE",
    "CROSS",
    "CURRENT",
    "CURRENT_DATE",
    "CURRENT_TIME",
    "CURRENT_TIMESTAMP",
    "CURRENT_USER",
    "CURSOR",
    "DATABASE",
    "DBCC",
    "DEALLOCATE",
    "DECLARE",
    "DEFAULT",
    "DELETE",
    "DENY",
    "DESC",
    "DISK",
    "DISTINCT",
    "DISTRIBUTED",
    "DOUBLE",
    "DROP",
    "DUMP",
    "ELSE",
    "END",
    "ERRLVL",
    "ESCAPE",
    "EXCEPT",
    "EXEC",
    "EXECUTE",
    "EXISTS",
    "EXIT",
    "EXTERNAL",
    "FETCH",
    "FILE",
    "FILLFACTOR",
    "FOR",
    "FOREIGN",
    "FREETEXT",
    "FREETEXTTABLE",
    "FROM",
    "FULL",
    "FUNCTION",
    "GOTO",
    "GRANT",
    "GROUP",
    "HAVING",
    "HOLDLOCK",
    "IDENTITY",
    "IDENTITYCOL",
    "IDENTITY_INSERT",
    "IF",
    "IN",
    "INDEX",
    "INNER",
    "INSERT",
    "INTERSECT",
    "INTO",
    "IS",
    "JOIN",
    "KEY",
    "KILL",
    "LEFT",
    "LIKE",
    "LINENO",
    "LOAD",
    "MERGE",
    "NATIONAL",
    "NOCHECK",
    "NONCLUSTERED",
    "NOT",
    "NULL",
    "NULLIF",
    "OF",
    "OFF",
    "OFFSETS",
    "ON",
    "OPEN",
    "OPENDATASOURCE",
    "OPENQUERY",
    "OPENROWSET",
    "OPENXML",
    "OPTION",
    "OR",
    "ORDER",
    "OUTER",
    "OVER",
    "PERCENT",
    "PIVOT",
    "PLAN",
    "PRECISION",
    "PRIMARY",
    "PRINT",
    "PROC",
    "PROCEDURE",
    "PUBLIC",
    "RAISERROR",
    "READ",
    "READTEXT",
    "RECONFIGURE",
    "REFERENCES",
    "REPLICATION",
    "RESTORE",
    "RESTRICT",
    "RETURN",
    "REVERT",
    "REVOKE",
    "RIGHT",
    "ROLLBACK",
    "ROWCOUNT",
    "ROWGUIDCOL",
    "RULE",
    "SAVE",
    "SCHEMA",
    "SECURITYAUDIT",
    "SELECT",
    "SEMANTICKEYPHRASETABLE",
    "SEMANTICSIMILARITYDETAILSTABLE",
    "SEMANTICSIMILARITYTABLE",
    "SESSION_USER",
    "SET",
    "SETUSER",
    "SHUTDOWN",
    "SOME",
    "STATISTICS",
    "SYSTEM_USER",
    "TABLE",
    "TABLESAMPLE",
    "TEXTSIZE",
    "THEN",
    "TO",
    "TOP",
    "TRAN",
    "TRANSACTION",
    "TRIGGER",
    "TRUNCATE",
    "TRY_CONVERT",
    "TSEQUAL",
    "UNION",
    "UNIQUE",
    "UNPIVOT",
    "UPDATE",
    "UPDATETEXT",
    "USE",
    "USER",
    "VALUES",
    "VARYING",
    "VIEW",
    "WAITFOR",
    "WHEN",
    "WHERE",
    "WHILE",
    "WITH",
    "WITHIN GROUP",
    "WRITETEXT",
};

bool IsReservedKeyword(const CString& strName) {
    if (strName.GetLength() > 32)
        return false;
    CString strUpper(strName);
    strUpper.MakeUpper();
    return std::binary_search(kReservedKeywords.begin(), kReservedKeywords.end(),
                              std::string_view(strUpper.Str()));
}

locale_t Utf8Locale() {
    static const locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

bool IsLetter(char32_t cp) {
    if (cp < 0x80)
        return (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z');
    const locale_t loc = Utf8Locale();
    return loc && iswalpha_l(static_cast<wint_t>(cp), loc);
}

// Decodes the next code point; 0xFFFFFFFF for malformed input.
char32_t NextCodePoint(const std::string& str, size_t& nPos) {
    const auto lead = static_cast<unsigned char>(str[nPos++]);
    if (lead < 0x80)
        return lead;
    const int nTrail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (nTrail < 0)
        return 0xFFFFFFFF;
    char32_t cp = lead & (0x3F >> nTrail);
    for (int i = 0; i < nTrail; ++i) {
        if (nPos >= str.size() || (static_cast<unsigned char>(str[nPos]) & 0xC0) != 0x80)
            return 0xFFFFFFFF;
        cp = (cp << 6) | (static_cast<unsigned char>(str[nPos++]) & 0x3F);
    }
    return cp;
}

} // namespace

CString EscapeSqlLiteral(const CString& str) {
    if (str.Find('\'') < 0)
        return str;
    CString strResult(str);
    strResult.Replace("'", "''");
    return strResult;
}

bool IsRegularIdentifier(const CString& strName) {
    const std::string& str = strName.Str();
    if (str.empty() || IsReservedKeyword(strName))
        return false;
    size_t nPos = 0;
    int nChars = 0;
    while (nPos < str.size()) {
        const char32_t cp = NextCodePoint(str, nPos);
        const bool bFirst = nChars++ == 0;
        if (IsLetter(cp) || cp == '_' || cp == '@' || cp == '#')
            continue;
        if (!bFirst && ((cp >= '0' && cp <= '9') || cp == '$'))
            continue;
        return false;
    }
    return nChars <= 128;
}

CString DelimitIdentifier(const CString& strName) {
    if (strName.IsEmpty() || IsRegularIdentifier(strName))
        return strName;
    CString strResult(strName);
    strResult.Replace("]", "]]");
    return "[" + strResult + "]";
}

CString ObjectIdPart(const CString& strName) {
    return EscapeSqlLiteral(DelimitIdentifier(strName));
}

CString ObjectIdName(const CString& strSchema, const CString& strName) {
    return ObjectIdPart(strSchema) + "." + ObjectIdPart(strName);
}
