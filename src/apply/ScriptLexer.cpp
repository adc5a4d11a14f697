#include "apply/ScriptLexer.h"

#include <algorithm>

void CScriptLexer::Read(std::string_view strText) {
    size_t nAt = 0;
    while (nAt < strText.size()) {
        if (m_nCommentDepth > 0) {
            nAt = SkipBlockComment(strText, nAt, m_nCommentDepth);
            continue;
        }
        if (m_chClose != 0) {
            nAt = SkipQuoted(strText, nAt, m_chClose);
            continue;
        }
        const size_t nMark = strText.find_first_of("-/'\"[", nAt);
        if (nMark == std::string_view::npos)
            return;
        nAt = nMark + 1;
        if (IsPairAt(strText, nMark, '-', '-')) {
            nAt = std::min(LineCommentEnd(strText, nMark, eSqlLineEnd::Lf) + 1, strText.size());
        } else if (IsPairAt(strText, nMark, '/', '*')) {
            m_nCommentDepth = 1;
            nAt = nMark + 2;
        } else {
            m_chClose = ClosingQuote(strText[nMark]);
        }
    }
}
