// The lexical rules of T-SQL for what is not code, for every reader of T-SQL text (the module's text rules,
// the compare, apply's batches): line comments (--), block comments (/* */, which nest), string literals
// ('...', '' inside) and delimited names ("..." and [...], "" and ]] inside). Block comments, strings and
// delimited names may run over several lines; a text read piece by piece carries what is open from one piece
// to the next.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True when the two characters at nAt are chFirst and chSecond.
bool IsPairAt(std::string_view strText, size_t nAt, char chFirst, char chSecond);

// Past the block comment that nDepth comments are open in, from nAt: where it ends, or the text's end with
// nDepth still open.
size_t SkipBlockComment(std::string_view strText, size_t nAt, int& nDepth);

// What ends a line comment: a definition as the catalog stores it may end its lines in CR alone; a script is
// read as lines that end in LF, and a CR alone is text of its line.
enum class eSqlLineEnd { CrOrLf, Lf };

// The line end of the line comment whose body starts at nAt (the comment's text ends there); the text's end
// when the line has none.
size_t LineCommentEnd(std::string_view strText, size_t nAt, eSqlLineEnd eLineEnd);

// The character that closes a string or delimited name opened by ch; 0 when ch opens none.
char ClosingQuote(char ch);

// Past the string or delimited name that chClose ends, from nAt (after its opening character): where it ends
// (chClose becomes 0), or the text's end with chClose kept.
size_t SkipQuoted(std::string_view strText, size_t nAt, char& chClose);

// The text of the string or delimited name whose opening character is at nAt, each doubled closing character
// single again; nAt moves past it (to the text's end when it is not closed).
std::string ReadQuoted(std::string_view strText, size_t& nAt);
