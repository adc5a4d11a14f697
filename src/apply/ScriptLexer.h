// Where a script's batch may end: the lexical rules of T-SQL (platform/SqlLexer.h) over a script read line by
// line, a line comment ending at LF.
#pragma once

#include "platform/SqlLexer.h"

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
