#include "apply/BatchSplitter.h"

#include <charconv>
#include <climits>

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

std::string_view WithoutLineEnd(std::string_view strLine) {
    while (!strLine.empty() && (strLine.back() == '\n' || strLine.back() == '\r'))
        strLine.remove_suffix(1);
    return strLine;
}

std::string_view SkipBlanks(std::string_view str) {
    while (!str.empty() && IsBlank(str.front()))
        str.remove_prefix(1);
    return str;
}

bool StartsComment(std::string_view str) {
    return str.starts_with("--") || str.starts_with("/*");
}

// What may follow GO and its count: blanks, block comments that end on the line, and a line comment.
bool OnlyComments(std::string_view strRest) {
    for (strRest = SkipBlanks(strRest); !strRest.empty(); strRest = SkipBlanks(strRest)) {
        if (strRest.starts_with("--"))
            return true;
        if (!strRest.starts_with("/*"))
            return false;
        int nDepth = 1;
        const size_t nEnd = SkipBlockComment(strRest, 2, nDepth);
        if (nDepth > 0)
            return false;
        strRest.remove_prefix(nEnd);
    }
    return true;
}

} // namespace

CString CScriptException::GetErrorText() const {
    const char* pszProblem = m_eProblem == notUtf8   ? "the line is not UTF-8 text"
                             : m_eProblem == goCount ? "GO takes a positive whole number as its count"
                                                     : "GO takes only a count and comments on its line";
    return (m_strFile.IsEmpty() ? CString() : m_strFile + ", ") + "line " + CString(std::to_string(m_nLine)) +
           ": " + pszProblem;
}

std::optional<long> GoLineCount(std::string_view strLine) {
    std::string_view str = SkipBlanks(WithoutLineEnd(strLine));
    if (str.size() < 2 || (str[0] != 'g' && str[0] != 'G') || (str[1] != 'o' && str[1] != 'O'))
        return std::nullopt;
    str.remove_prefix(2);
    if (!str.empty() && !IsBlank(str.front()) && !StartsComment(str))
        return std::nullopt;
    str = SkipBlanks(str);
    size_t nWord = 0;
    while (nWord < str.size() && !IsBlank(str[nWord]) && !StartsComment(str.substr(nWord)))
        ++nWord;
    long nCount = 1;
    if (nWord > 0) {
        const auto [pEnd, ec] = std::from_chars(str.data(), str.data() + nWord, nCount);
        if (ec != std::errc() || pEnd != str.data() + nWord || nCount < 1 || nCount > INT_MAX ||
            str.front() == '+' || str.front() == '-')
            throw new CScriptException(CScriptException::goCount, 0);
    }
    if (!OnlyComments(str.substr(nWord)))
        throw new CScriptException(CScriptException::goWithText, 0);
    return nCount;
}

std::optional<TScriptBatch> CBatchSplitter::AddLine(std::string_view strLine) {
    ++m_nLine;
    if (m_lexer.IsInCode()) {
        std::optional<long> nCount;
        try {
            nCount = GoLineCount(strLine);
        } catch (CScriptException* e) {
            e->m_nLine = m_nLine;
            throw;
        }
        if (nCount)
            return Take(*nCount);
    }
    m_lexer.Read(strLine);
    if (m_nFirstLine == 0 && SkipBlanks(WithoutLineEnd(strLine)).size() > 0)
        m_nFirstLine = m_nLine;
    m_strText.append(strLine);
    return std::nullopt;
}

std::optional<TScriptBatch> CBatchSplitter::Finish() {
    return Take(1);
}

std::optional<TScriptBatch> CBatchSplitter::Take(long nRepeat) {
    std::optional<TScriptBatch> batch;
    if (m_nFirstLine != 0)
        batch = TScriptBatch{std::move(m_strText), m_nFirstLine, nRepeat};
    m_strText.clear();
    m_nFirstLine = 0;
    return batch;
}
