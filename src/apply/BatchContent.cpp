#include "apply/BatchContent.h"

#include "apply/ScriptLexer.h"
#include "recreate/CreateWords.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace {

struct TToken {
    enum EKind { Word, Delimited, Symbol } eKind;
    std::string strText; // a delimited name without its quotes, doubled ones single again
};

bool IsWordChar(char ch) {
    const auto uch = static_cast<unsigned char>(ch);
    return std::isalnum(uch) || ch == '_' || ch == '@' || ch == '#' || ch == '$' || uch >= 0x80;
}

// The tokens outside parentheses; comments and strings are passed over.
std::vector<TToken> TopLevelTokens(std::string_view strText) {
    std::vector<TToken> aTokens;
    int nDepth = 0;
    for (size_t nAt = 0; nAt < strText.size();) {
        if (nDepth > 0) {
            // Inside parentheses only what nests or hides a parenthesis counts: a value list is passed
            // quickly.
            nAt = strText.find_first_of("()'\"[-/", nAt);
            if (nAt == std::string_view::npos)
                break;
        }
        const char ch = strText[nAt];
        if (IsPairAt(strText, nAt, '-', '-')) {
            nAt = LineCommentEnd(strText, nAt, eSqlLineEnd::Lf);
        } else if (IsPairAt(strText, nAt, '/', '*')) {
            int nComments = 1;
            nAt = SkipBlockComment(strText, nAt + 2, nComments);
        } else if (char chClose = ClosingQuote(ch); chClose == '\'' || (chClose && nDepth > 0)) {
            nAt = SkipQuoted(strText, nAt + 1, chClose);
        } else if (chClose) {
            aTokens.push_back({TToken::Delimited, ReadQuoted(strText, nAt)});
        } else if (ch == '(' || ch == ')') {
            nDepth = std::max(0, nDepth + (ch == '(' ? 1 : -1));
            ++nAt;
        } else if (nDepth > 0 || std::isspace(static_cast<unsigned char>(ch))) {
            ++nAt;
        } else if (IsWordChar(ch)) {
            const size_t nStart = nAt;
            while (nAt < strText.size() && IsWordChar(strText[nAt]))
                ++nAt;
            aTokens.push_back({TToken::Word, std::string(strText.substr(nStart, nAt - nStart))});
        } else {
            aTokens.push_back({TToken::Symbol, std::string(1, ch)});
            ++nAt;
        }
    }
    return aTokens;
}

std::string Upper(std::string str) {
    std::transform(str.begin(), str.end(), str.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return str;
}

bool IsKeyword(const TToken& token, std::string_view strKeyword) {
    return token.eKind == TToken::Word && Upper(token.strText) == strKeyword;
}

// The words that begin a T-SQL statement.
constexpr std::array<std::string_view, 47> kStatementWords = {
    "ALTER",       "BACKUP",  "BEGIN",    "BREAK",      "BULK",    "CHECKPOINT", "CLOSE",     "COMMIT",
    "CONTINUE",    "CREATE",  "DBCC",     "DEALLOCATE", "DECLARE", "DELETE",     "DENY",      "DISABLE",
    "DROP",        "ENABLE",  "END",      "EXEC",       "EXECUTE", "FETCH",      "GOTO",      "GRANT",
    "IF",          "INSERT",  "KILL",     "MERGE",      "OPEN",    "PRINT",      "RAISERROR", "READTEXT",
    "RECONFIGURE", "RESTORE", "RETURN",   "REVERT",     "REVOKE",  "ROLLBACK",   "SAVE",      "SELECT",
    "SET",         "THROW",   "TRUNCATE", "UPDATE",     "USE",     "WAITFOR",    "WHILE"};

std::optional<std::string> StatementWord(const TToken& token) {
    if (token.eKind != TToken::Word)
        return std::nullopt;
    std::string strWord = Upper(token.strText);
    if (std::find(kStatementWords.begin(), kStatementWords.end(), strWord) == kStatementWords.end() &&
        strWord != "WITH")
        return std::nullopt;
    return strWord;
}

// A name of one to four parts at aTokens[nAt], which moves past it; empty when there is none there.
TScriptName ReadName(const std::vector<TToken>& aTokens, size_t& nAt) {
    std::vector<std::string> aParts;
    while (nAt < aTokens.size() && aTokens[nAt].eKind != TToken::Symbol) {
        aParts.push_back(aTokens[nAt++].strText);
        if (nAt >= aTokens.size() || aTokens[nAt].strText != ".")
            break;
        ++nAt;
        // "db..name": the schema left out.
        while (nAt < aTokens.size() && aTokens[nAt].strText == ".") {
            aParts.emplace_back();
            ++nAt;
        }
    }
    if (aParts.empty())
        return {};
    return {aParts.size() > 1 ? aParts[aParts.size() - 2] : std::string(), aParts.back()};
}

// The words at nAt name a permission that GRANT, DENY or REVOKE gives or takes (GRANT CREATE TABLE, CREATE
// FULLTEXT CATALOG TO ...), not a statement.
bool IsPermission(const std::vector<TToken>& aTokens, size_t nAt) {
    if (nAt == 0)
        return false;
    const TToken& before = aTokens[nAt - 1];
    return before.strText == "," || IsKeyword(before, "GRANT") || IsKeyword(before, "DENY") ||
           IsKeyword(before, "REVOKE") || IsKeyword(before, "FOR");
}

// The objects that CREATE statements make; CREATE OR ALTER replaces what is there, and a temporary table is
// the session's own.
// The words after a CREATE at nAt, in capitals: three, as no CREATE word is longer (SEARCH PROPERTY LIST).
std::vector<std::string> WordsAfter(const std::vector<TToken>& aTokens, size_t nAt) {
    std::vector<std::string> aWords;
    for (size_t i = nAt + 1; i < aTokens.size() && aTokens[i].eKind == TToken::Word && aWords.size() < 3; ++i)
        aWords.push_back(Upper(aTokens[i].strText));
    return aWords;
}

// Where the body of a module the batch creates begins: its statements run when the module does, not now.
size_t BodyStart(const std::vector<TToken>& aTokens) {
    for (size_t nAt = 0; nAt + 1 < aTokens.size(); ++nAt) {
        if (!IsKeyword(aTokens[nAt], "CREATE") || IsKeyword(aTokens[nAt + 1], "OR"))
            continue;
        const std::optional<TCreatedKind> kind = CreatedKind(WordsAfter(aTokens, nAt));
        if (kind && CreateWordOf(kind->eKind).bWholeBatch)
            return nAt;
    }
    return aTokens.size();
}

// DROP [IF EXISTS] of the kinds CREATE makes, each name of its list.
std::vector<TCreatedObject> DroppedObjects(const std::vector<TToken>& aTokens, size_t nEnd) {
    std::vector<TCreatedObject> aDropped;
    for (size_t nAt = 0; nAt + 1 < nEnd; ++nAt) {
        if (!IsKeyword(aTokens[nAt], "DROP"))
            continue;
        const std::optional<TCreatedKind> kind = CreatedKind(WordsAfter(aTokens, nAt));
        if (!kind)
            continue;
        size_t nName = nAt + 1 + kind->nWords;
        if (nName + 1 < nEnd && IsKeyword(aTokens[nName], "IF") && IsKeyword(aTokens[nName + 1], "EXISTS"))
            nName += 2;
        for (;;) {
            TScriptName name = ReadName(aTokens, nName);
            if (name.IsEmpty())
                break;
            aDropped.push_back({kind->eKind, std::move(name)});
            if (nName >= nEnd || aTokens[nName].strText != ",")
                break;
            ++nName;
        }
    }
    return aDropped;
}

bool IsDefinitionWord(const TToken& token) {
    return IsKeyword(token, "CREATE") || IsKeyword(token, "ALTER") || IsKeyword(token, "DROP");
}

// USE, or CREATE, ALTER or DROP DATABASE of a database as a whole (not its scoped settings, audit
// specifications or encryption key).
std::string DatabaseChange(const std::vector<TToken>& aTokens, size_t nEnd) {
    for (size_t nAt = 0; nAt < nEnd; ++nAt) {
        if (IsKeyword(aTokens[nAt], "USE"))
            return "USE";
        if (!IsDefinitionWord(aTokens[nAt]) || nAt + 1 >= nEnd || !IsKeyword(aTokens[nAt + 1], "DATABASE"))
            continue;
        if (nAt + 2 < nEnd &&
            (IsKeyword(aTokens[nAt + 2], "SCOPED") || IsKeyword(aTokens[nAt + 2], "AUDIT") ||
             IsKeyword(aTokens[nAt + 2], "ENCRYPTION")))
            continue;
        return Upper(aTokens[nAt].strText) + " DATABASE";
    }
    return {};
}

std::vector<TCreatedObject> CreatedObjects(const std::vector<TToken>& aTokens) {
    std::vector<TCreatedObject> aCreated;
    for (size_t nAt = 0; nAt + 1 < aTokens.size(); ++nAt) {
        if (!IsKeyword(aTokens[nAt], "CREATE") || IsKeyword(aTokens[nAt + 1], "OR") ||
            IsPermission(aTokens, nAt))
            continue;
        const std::optional<TCreatedKind> kind = CreatedKind(WordsAfter(aTokens, nAt));
        if (!kind)
            continue;
        size_t nName = nAt + 1 + kind->nWords;
        TScriptName name = ReadName(aTokens, nName);
        if (!name.IsEmpty() && !name.strName.starts_with("#"))
            aCreated.push_back({kind->eKind, std::move(name)});
        if (CreateWordOf(kind->eKind).bWholeBatch)
            break;
    }
    return aCreated;
}

// The table that INSERT [INTO] or SET IDENTITY_INSERT at nAt names.
TScriptName NamedTable(const std::vector<TToken>& aTokens, size_t nAt) {
    ++nAt;
    if (nAt < aTokens.size() &&
        (IsKeyword(aTokens[nAt], "INTO") || IsKeyword(aTokens[nAt], "IDENTITY_INSERT")))
        ++nAt;
    return ReadName(aTokens, nAt);
}

bool EndsTransaction(const std::vector<TToken>& aTokens, size_t nEnd) {
    return std::any_of(
        aTokens.begin(), aTokens.begin() + static_cast<std::ptrdiff_t>(nEnd),
        [](const TToken& token) { return IsKeyword(token, "COMMIT") || IsKeyword(token, "ROLLBACK"); });
}

// FULLTEXT CATALOG, INDEX or STOPLIST at nAt, whose next word is there.
bool IsFullTextObject(const std::vector<TToken>& aTokens, size_t nAt) {
    return IsKeyword(aTokens[nAt], "FULLTEXT") &&
           (IsKeyword(aTokens[nAt + 1], "CATALOG") || IsKeyword(aTokens[nAt + 1], "INDEX") ||
            IsKeyword(aTokens[nAt + 1], "STOPLIST"));
}

bool IsPropertyList(const std::vector<TToken>& aTokens, size_t nAt, size_t nEnd) {
    return nAt + 2 < nEnd && IsKeyword(aTokens[nAt], "SEARCH") && IsKeyword(aTokens[nAt + 1], "PROPERTY") &&
           IsKeyword(aTokens[nAt + 2], "LIST");
}

// CREATE, ALTER or DROP FULLTEXT CATALOG, INDEX or STOPLIST, or SEARCH PROPERTY LIST, as a statement, not as
// a permission that GRANT, DENY or REVOKE names (GRANT CREATE FULLTEXT CATALOG TO ...). A stoplist or a
// property list may change inside a transaction, but goes with the indexes that use it: dropped after them,
// made before them.
bool ChangesFullText(const std::vector<TToken>& aTokens, size_t nEnd) {
    for (size_t nAt = 0; nAt + 2 < nEnd; ++nAt) {
        if (!IsDefinitionWord(aTokens[nAt]) ||
            !(IsFullTextObject(aTokens, nAt + 1) || IsPropertyList(aTokens, nAt + 1, nEnd)))
            continue;
        if (!IsPermission(aTokens, nAt))
            return true;
    }
    return false;
}

// SET statements and BEGIN TRAN[SACTION], nothing else.
bool BeginsTransaction(const std::vector<TToken>& aTokens, const std::vector<size_t>& aStatements) {
    bool bBegins = false;
    for (const size_t nAt : aStatements) {
        const std::string strWord = *StatementWord(aTokens[nAt]);
        const bool bBegin =
            strWord == "BEGIN" && nAt + 1 < aTokens.size() &&
            (IsKeyword(aTokens[nAt + 1], "TRAN") || IsKeyword(aTokens[nAt + 1], "TRANSACTION"));
        if (strWord != "SET" && !bBegin)
            return false;
        bBegins = bBegins || bBegin;
    }
    return bBegins;
}

} // namespace

TBatchContent DescribeBatch(std::string_view strBatch) {
    const std::vector<TToken> aTokens = TopLevelTokens(strBatch);
    TBatchContent content;
    content.aCreated = CreatedObjects(aTokens);
    const size_t nBody = BodyStart(aTokens);
    content.aDropped = DroppedObjects(aTokens, nBody);
    content.strDatabaseChange = DatabaseChange(aTokens, nBody);
    content.bEndsTransaction = EndsTransaction(aTokens, nBody);
    content.bOutsideTransaction = ChangesFullText(aTokens, nBody);
    std::vector<size_t> aStatements;
    for (size_t nAt = 0; nAt < aTokens.size(); ++nAt)
        if (StatementWord(aTokens[nAt]))
            aStatements.push_back(nAt);
    if (aStatements.empty())
        return content;
    content.bBeginsTransaction = BeginsTransaction(aTokens, aStatements);
    const std::string strFirst = *StatementWord(aTokens[aStatements.front()]);
    // The identity's position after a table's rows, set as its last batch: the rows may still be spread.
    if (strFirst == "DBCC" && aStatements.size() == 1 && aStatements.front() + 1 < aTokens.size() &&
        IsKeyword(aTokens[aStatements.front() + 1], "CHECKIDENT")) {
        content.eKind = EBatchKind::Settings;
        return content;
    }
    if (strFirst != "INSERT" && strFirst != "SET")
        return content;
    for (const size_t nAt : aStatements) {
        if (*StatementWord(aTokens[nAt]) != strFirst)
            return content;
        const bool bIdentity =
            strFirst == "SET" && nAt + 1 < aTokens.size() && IsKeyword(aTokens[nAt + 1], "IDENTITY_INSERT");
        if (strFirst == "SET" && !bIdentity)
            continue;
        const TScriptName table = NamedTable(aTokens, nAt);
        if (!content.table.IsEmpty() && !(table == content.table))
            return content;
        content.table = table;
    }
    content.eKind = strFirst == "INSERT" ? EBatchKind::Rows : EBatchKind::Settings;
    return content;
}
