#include "recreate/DdlText.h"

#include "platform/SqlLexer.h"
#include "platform/Text.h"
#include "scripting/ColumnTypes.h"
#include "scripting/SqlText.h"

#include <algorithm>
#include <cctype>

namespace {

bool HasNonAscii(std::string_view strText) {
    return std::any_of(strText.begin(), strText.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) > 0x7F; });
}

// Where the parenthesis at nOpen closes, outside literals and delimited names; npos when it does not.
size_t ClosingParenthesis(std::string_view str, size_t nOpen) {
    int nDepth = 0;
    for (size_t i = nOpen; i < str.size(); ++i) {
        const char ch = str[i];
        if (char chClose = ClosingQuote(ch))
            i = SkipQuoted(str, i + 1, chClose) - 1;
        else if (ch == '(')
            ++nDepth;
        else if (ch == ')' && --nDepth == 0)
            return i;
    }
    return std::string_view::npos;
}

thread_local bool t_bLineFeeds = false;

} // namespace

const std::string& LineEnd() {
    static const std::string strCrLf = "\r\n";
    static const std::string strLf = "\n";
    return t_bLineFeeds ? strLf : strCrLf;
}

const std::string& GoLine() {
    static const std::string strCrLf = "GO\r\n";
    static const std::string strLf = "GO\n";
    return t_bLineFeeds ? strLf : strCrLf;
}

CLineFeedScope::CLineFeedScope(bool bLineFeeds) : m_bOuter(t_bLineFeeds) {
    t_bLineFeeds = bLineFeeds;
}

CLineFeedScope::~CLineFeedScope() {
    t_bLineFeeds = m_bOuter;
}

std::string QuoteName(std::string_view strName) {
    return "[" + Doubled(strName, ']') + "]";
}

std::string QuoteName(std::string_view strSchema, std::string_view strName) {
    return QuoteName(strSchema) + "." + QuoteName(strName);
}

std::string SqlLiteral(std::string_view strText) {
    return HasNonAscii(strText) ? UnicodeLiteral(strText) : AnsiLiteral(strText);
}

std::string AnsiLiteral(std::string_view strText) {
    return "'" + Doubled(strText, '\'') + "'";
}

std::string UnicodeLiteral(std::string_view strText) {
    return "N'" + Doubled(strText, '\'') + "'";
}

std::string Parenthesized(std::string_view strExpression) {
    if (!strExpression.empty() && strExpression.front() == '(' &&
        ClosingParenthesis(strExpression, 0) == strExpression.size() - 1)
        return std::string(strExpression);
    return "(" + std::string(strExpression) + ")";
}

std::string DataTypeText(const TModelDataType& type) {
    if (type.IsUserDefined())
        return QuoteName(type.strSchema, type.strName);
    const std::string strType = QuoteName(type.strName);
    if (type.IsTypedXml())
        return strType + "(" + XmlTyping(type) + ")";
    const char* pszName = type.strName.c_str();
    if (IsCharType(pszName) || IsNCharType(pszName) || IsBinaryType(pszName))
        return strType + "(" + DeclaredLength(pszName, type.nMaxLength) + ")";
    if (IsNumericType(pszName))
        return strType + "(" + std::to_string(type.nPrecision) + ", " + std::to_string(type.nScale) + ")";
    if (type.strName == "datetime2" || type.strName == "time" || type.strName == "datetimeoffset")
        return strType + "(" + std::to_string(type.nScale) + ")";
    return strType;
}

std::string XmlTyping(const TModelDataType& type) {
    return (type.bXmlDocument ? "DOCUMENT " : "CONTENT ") +
           QuoteName(type.strXmlSchema, type.strXmlCollection);
}

void AppendLine(std::string& str, std::string_view strText) {
    str += strText;
    if (strText.empty() || (strText.back() != '\n' && strText.back() != '\r'))
        str += LineEnd();
}

size_t FirstWordAt(const std::string& strText) {
    const char* pszText = strText.c_str();
    const size_t nLength = strText.size();
    size_t nPos = 0;
    while (nPos < nLength) {
        if (std::isspace(static_cast<unsigned char>(pszText[nPos])))
            ++nPos;
        else if (IsPairAt(pszText, nLength, nPos, '/', '*'))
            nPos = SkipBlockComment(pszText, nLength, nPos + 2);
        else if (IsPairAt(pszText, nLength, nPos, '-', '-'))
            nPos = SkipLineComment(pszText, nLength, nPos + 2);
        else
            break;
    }
    return nPos;
}

namespace {

// The length of the word at nAt when it is strWord (any case) and ends there; 0 otherwise.
size_t WordAt(const std::string& strText, size_t nAt, std::string_view strWord) {
    if (strText.size() - nAt < strWord.size())
        return 0;
    for (size_t i = 0; i < strWord.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(strText[nAt + i])) != strWord[i])
            return 0;
    const size_t nEnd = nAt + strWord.size();
    const bool bEnds = nEnd == strText.size() || std::isspace(static_cast<unsigned char>(strText[nEnd]));
    return bEnds ? strWord.size() : 0;
}

size_t BlanksAt(const std::string& strText, size_t nAt) {
    size_t nEnd = nAt;
    while (nEnd < strText.size() && std::isspace(static_cast<unsigned char>(strText[nEnd])))
        ++nEnd;
    return nEnd - nAt;
}

} // namespace

size_t AlteringWordsLength(const std::string& strText, size_t nAt) {
    if (const size_t nAlter = WordAt(strText, nAt, "alter"))
        return nAlter;
    size_t nEnd = nAt + WordAt(strText, nAt, "create");
    if (nEnd == nAt)
        return 0;
    for (const std::string_view strWord : {"or", "alter"}) {
        const size_t nBlanks = BlanksAt(strText, nEnd);
        const size_t nWord = nBlanks ? WordAt(strText, nEnd + nBlanks, strWord) : 0;
        if (!nWord)
            return 0;
        nEnd += nBlanks + nWord;
    }
    return nEnd - nAt;
}

std::string DefinitionAsCreated(const std::string& strDefinition) {
    const size_t nAt = FirstWordAt(strDefinition);
    const size_t nWords = AlteringWordsLength(strDefinition, nAt);
    if (!nWords)
        return strDefinition;
    return strDefinition.substr(0, nAt) + "CREATE" + strDefinition.substr(nAt + nWords);
}
