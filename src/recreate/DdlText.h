// The pieces every faithful statement is made of: delimited names, literals, expressions and data types.
#pragma once

#include "model/CatalogModel.h"

#include <string>
#include <string_view>

// Statements end their lines with CR LF, as the module's scripts do, and batches with a line holding GO.
inline const std::string kLineEnd = "\r\n";
inline const std::string kGo = "GO\r\n";

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
// scale as declared ([nvarchar](20), [decimal](18, 2), [datetime2](3), [varbinary](max)).
std::string DataTypeText(const TModelDataType& type);
// Appends the text and, unless it already ends with CR or LF, kLineEnd.
void AppendLine(std::string& str, std::string_view strText);
// Where the first word of a T-SQL text begins: after blanks and comments.
size_t FirstWordAt(const std::string& strText);
// How long the words ALTER or CREATE OR ALTER are that begin a module's text at nAt (any case, any blanks
// between them); 0 where it begins otherwise. A server may keep either for a module made by the one or the
// other.
size_t AlteringWordsLength(const std::string& strText, size_t nAt);
// The module's text with its first words CREATE where they are ALTER or CREATE OR ALTER, the rest as it is.
std::string DefinitionAsCreated(const std::string& strDefinition);
