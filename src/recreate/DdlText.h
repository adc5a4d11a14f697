// The pieces every faithful statement is made of: delimited names, literals, expressions and data types.
#pragma once

#include "model/CatalogModel.h"

#include <string>
#include <string_view>

// Statements end their lines with CR LF, as the module's scripts do, and batches with a line holding GO; with
// LF instead while a CLineFeedScope of the thread that writes them lives.
const std::string& LineEnd();
// "GO" and the line end.
const std::string& GoLine();

// The statements the thread writes meanwhile end their own lines with LF (bLineFeeds) or CR LF. The texts
// they carry from the catalog (definitions, values) keep their line ends, so that they apply as they were.
class CLineFeedScope {
public:
    explicit CLineFeedScope(bool bLineFeeds);
    CLineFeedScope(const CLineFeedScope&) = delete;
    CLineFeedScope& operator=(const CLineFeedScope&) = delete;
    ~CLineFeedScope();

private:
    const bool m_bOuter;
};

// The name in brackets with every ']' doubled: any name, reserved words and odd characters included.
std::string QuoteName(std::string_view strName);
// [schema].[name]
std::string QuoteName(std::string_view strSchema, std::string_view strName);
// A string literal with every ' doubled; N'...' when the text holds characters beyond ASCII.
std::string SqlLiteral(std::string_view strText);
// N'...' whatever the text holds: for nvarchar parameters and values.
std::string UnicodeLiteral(std::string_view strText);
// '...' whatever the text holds: for varchar values, which keep the database's code page.
std::string AnsiLiteral(std::string_view strText);
// An expression as stored, in parentheses unless one pair already encloses it whole.
std::string Parenthesized(std::string_view strExpression);
// The declared type: [schema].[name] for a user type, else the system type with its length, precision or
// scale as declared ([nvarchar](20), [decimal](18, 2), [datetime2](3), [varbinary](max)), typed xml with its
// collection ([xml](DOCUMENT [schema].[collection])).
std::string DataTypeText(const TModelDataType& type);
// What typed xml's parentheses hold: CONTENT or DOCUMENT [schema].[collection].
std::string XmlTyping(const TModelDataType& type);
// Appends the text and, unless it already ends with CR or LF, the line end.
void AppendLine(std::string& str, std::string_view strText);
// Where the first word of a T-SQL text begins: after blanks and comments.
size_t FirstWordAt(const std::string& strText);
// How long the words ALTER or CREATE OR ALTER are that begin a module's text at nAt (any case, any blanks
// between them); 0 where it begins otherwise. A server may keep either for a module made by the one or the
// other.
size_t AlteringWordsLength(const std::string& strText, size_t nAt);
// The module's text with its first words CREATE where they are ALTER or CREATE OR ALTER, the rest as it is.
std::string DefinitionAsCreated(const std::string& strDefinition);
