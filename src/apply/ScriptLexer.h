// The lexical rules of T-SQL that decide where a script's batch ends and what its words are: line comments
// (--), block comments (/* */, which nest), string literals ('...', '' inside) and delimited names ("..." and
// [...], "" and ]] inside). Block comments, strings and delimited names may run over several lines.
#pragma once

#include <cstddef>
#include <string_view>

// Where text read piece by piece stands: in code, or inside a block comment, string or delimited name that a
// later piece closes.
class CScriptLexer {
public:
    // Reads whole lines, their line ends included (the last line of a file may lack one).
    void Read(std::string_view strText);
    // True when the text read so far ends outside every comment, string and delimited name.
    bool IsInCode() const { return m_nCommentDepth == 0 && m_chClose == 0; }

private:
    int m_nCommentDepth = 0;
    char m_chClose = 0; // the quote or bracket that ends the string or name the text is in
};

// Past the block comment that nDepth comments are open in, from nAt: where it ends, or the text's end with
// nDepth still open.
size_t SkipBlockComment(std::string_view strText, size_t nAt, int& nDepth);
// Past the string or delimited name that chClose ends, from nAt (after its opening character): where it ends
// (chClose becomes 0), or the text's end with chClose kept.
size_t SkipQuoted(std::string_view strText, size_t nAt, char& chClose);
// The character that closes a string or delimited name opened by ch; 0 when ch opens none.
char ClosingQuote(char ch);
