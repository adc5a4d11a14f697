// A script's batches, as the SQL Server command-line client splits it: a batch ends at a line that holds only
// GO (any case, blanks around it), optionally a count that runs the batch that many times (GO 3) and a
// comment (GO -- done). A GO line inside a block comment, or inside a string or delimited name that runs over
// several lines, is text of the batch. Everything else goes to the server as written.
#pragma once

#include "apply/ScriptLexer.h"
#include "platform/Exceptions.h"

#include <optional>
#include <string>
#include <string_view>

struct TScriptBatch {
    std::string strText; // the lines between two GO lines, line ends included
    long nLine = 0;      // the script's line where it begins: its first line that holds more than blanks
    long nRepeat = 1;    // GO n: how many times it runs
};

// A script that cannot be read as batches: the line and what is wrong with it.
class CScriptException : public CException {
public:
    enum EProblem {
        notUtf8,   // a line is not UTF-8
        goCount,   // GO with a count that is not a positive whole number
        goWithText // GO followed by something other than a count and comments
    };

    CScriptException(EProblem eProblem, long nLine) : m_eProblem(eProblem), m_nLine(nLine) {}
    CString GetErrorText() const override;

    EProblem m_eProblem;
    long m_nLine;
    CString m_strFile; // as the plan names it, once known
};

class CBatchSplitter {
public:
    // The script's next line, its line end included; the batch that it ends when it is a GO line. Throws
    // CScriptException* for a GO line that is not one the client accepts.
    std::optional<TScriptBatch> AddLine(std::string_view strLine);
    // The batch after the last GO line, when it holds more than blanks.
    std::optional<TScriptBatch> Finish();
    // The lines read so far.
    long LineCount() const { return m_nLine; }

private:
    std::optional<TScriptBatch> Take(long nRepeat);

    CScriptLexer m_lexer;
    std::string m_strText;
    long m_nLine = 0;
    long m_nFirstLine = 0; // of the current batch, 0 while it holds only blanks
};

// The count of a GO line ("GO", "  go 3 -- again"): 1 without one; nullopt when the line is no GO line.
// Throws CScriptException* (with line 0) for a GO line with a wrong count or other text after it.
std::optional<long> GoLineCount(std::string_view strLine);
