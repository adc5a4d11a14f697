#include "scripting/SqlText.h"

#include "platform/SqlLexer.h"
#include "platform/Unicode.h"

#include <cstring>
#include <string>

namespace {

bool IsLineEnd(char ch) {
    return ch == '\r' || ch == '\n';
}

bool IsSpace(char ch) {
    return ch == ' ' || ch == '\t' || IsLineEnd(ch);
}

// Letters of any script count: every byte of a multi-byte UTF-8 sequence is taken as part of a name.
bool IsNameStart(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte >= 0x80 || ch == '_' ||
           ch == '@' || ch == '#';
}

bool IsNamePart(char ch) {
    return IsNameStart(ch) || (ch >= '0' && ch <= '9') || ch == '$';
}

class CNameScanner {
public:
    CNameScanner(const char* pszText) : m_pszText(pszText), m_nLength(std::strlen(pszText)) {}

    std::vector<TSqlName> Scan(size_t nMax) {
        while (m_nPos < m_nLength && m_aNames.size() < nMax) {
            const char ch = m_pszText[m_nPos];
            if (IsPairAt(m_pszText, m_nLength, m_nPos, '-', '-'))
                m_nPos = SkipLineComment(m_pszText, m_nLength, m_nPos + 2);
            else if (IsPairAt(m_pszText, m_nLength, m_nPos, '/', '*'))
                m_nPos = SkipBlockComment(m_pszText, m_nLength, m_nPos + 2);
            else if (ch == '\'')
                ReadQuoted(Text(), m_nPos);
            else if (ch >= '0' && ch <= '9')
                SkipNumber();
            else if (IsNameStart(ch) || ch == '[' || ch == '"')
                ReadChain();
            else
                ++m_nPos;
        }
        return std::move(m_aNames);
    }

private:
    std::string_view Text() const { return {m_pszText, m_nLength}; }

    // 12, 1.5e3, 0x1F: nothing in a number is a name.
    void SkipNumber() {
        while (m_nPos < m_nLength && (IsNamePart(m_pszText[m_nPos]) || m_pszText[m_nPos] == '.'))
            ++m_nPos;
    }

    bool AtNamePart() const {
        const char ch = m_pszText[m_nPos];
        return IsNameStart(ch) || ch == '[' || ch == '"';
    }

    std::string ReadPart() {
        const char ch = m_pszText[m_nPos];
        m_bLastBare = ch != '[' && ch != '"';
        if (ch == '[' || ch == '"')
            return ReadQuoted(Text(), m_nPos);
        const size_t nStart = m_nPos;
        while (m_nPos < m_nLength && IsNamePart(m_pszText[m_nPos]))
            ++m_nPos;
        return std::string(m_pszText + nStart, m_nPos - nStart);
    }

    size_t SkipSpaces(size_t nPos) const {
        while (nPos < m_nLength && IsSpace(m_pszText[nPos]))
            ++nPos;
        return nPos;
    }

    // One name or a dotted chain of them (server.database.schema.name; "db..name" leaves a part empty).
    void ReadChain() {
        const bool bBare = IsNameStart(m_pszText[m_nPos]);
        std::vector<std::string> aParts{ReadPart()};
        // N'text' is a Unicode string literal, not the name N.
        if (bBare && aParts[0].size() == 1 && (aParts[0][0] == 'N' || aParts[0][0] == 'n') &&
            m_nPos < m_nLength && m_pszText[m_nPos] == '\'')
            return;
        for (size_t nDot = SkipSpaces(m_nPos); nDot < m_nLength && m_pszText[nDot] == '.';
             nDot = SkipSpaces(m_nPos)) {
            m_nPos = SkipSpaces(nDot + 1);
            if (m_nPos < m_nLength && m_pszText[m_nPos] == '.') {
                aParts.emplace_back();
                continue;
            }
            if (m_nPos >= m_nLength || !AtNamePart())
                break;
            aParts.push_back(ReadPart());
        }
        const size_t nParts = aParts.size();
        if (nParts == 1)
            m_aNames.push_back({CString(), CString(aParts[0]), m_bLastBare});
        else
            m_aNames.push_back({CString(aParts[nParts - 2]), CString(aParts[nParts - 1]), m_bLastBare});
    }

    const char* m_pszText;
    size_t m_nLength;
    size_t m_nPos = 0;
    bool m_bLastBare = false;
    std::vector<TSqlName> m_aNames;
};

} // namespace

bool IsPairAt(const char* pszText, size_t nLength, size_t nPos, char chFirst, char chSecond) {
    return IsPairAt(std::string_view(pszText, nLength), nPos, chFirst, chSecond);
}

size_t SkipBlockComment(const char* pszText, size_t nLength, size_t nPos) {
    int nDepth = 1;
    return SkipBlockComment(std::string_view(pszText, nLength), nPos, nDepth);
}

size_t SkipLineComment(const char* pszText, size_t nLength, size_t nPos) {
    nPos = LineCommentEnd(std::string_view(pszText, nLength), nPos, eSqlLineEnd::CrOrLf);
    if (nPos < nLength)
        ++nPos;
    if (nPos < nLength && IsLineEnd(pszText[nPos]))
        ++nPos;
    return nPos;
}

std::vector<TSqlName> FindSqlNames(const char* pszText, size_t nMax) {
    if (!pszText)
        return {};
    return CNameScanner(pszText).Scan(nMax);
}

namespace {

std::string NameKey(std::string_view strSchema, std::string_view strName) {
    return FoldCaseUtf8(strSchema) + '\0' + FoldCaseUtf8(strName);
}

} // namespace

void CSqlNameIndex::Add(std::string_view strSchema, std::string_view strName, size_t nItem) {
    m_index.emplace(NameKey(strSchema, strName), nItem);
}

size_t CSqlNameIndex::Resolve(std::string_view strSchema, std::string_view strName,
                              std::string_view strOwnSchema) const {
    if (!strSchema.empty())
        return Find(strSchema, strName);
    const size_t nOwn = Find(strOwnSchema, strName);
    return nOwn != NONE ? nOwn : Find("dbo", strName);
}

size_t CSqlNameIndex::Find(std::string_view strSchema, std::string_view strName) const {
    const auto it = m_index.find(NameKey(strSchema, strName));
    return it == m_index.end() ? NONE : it->second;
}
