#include "platform/String.h"

#include "platform/Resources.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kWhitespace = " \t\r\n\v\f";

int ToLowerAscii(unsigned char ch) {
    return (ch >= 'A' && ch <= 'Z') ? ch - 'A' + 'a' : ch;
}

} // namespace

std::string CString::FormatImpl(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::string str = FormatToString(pszFormat, args);
    va_end(args);
    return str;
}

void CString::FormatV(const char* pszFormat, va_list args) {
    m_str = FormatToString(pszFormat, args);
}

std::string CString::FormatToString(const char* pszFormat, va_list args) {
    va_list probe;
    va_copy(probe, args);
    // Room for every catalog statement and most script pieces: text longer than this is formatted twice,
    // and printf formats text beyond its buffer slowly, 64 bytes at a time.
    char buffer[4096];
    const int nNeeded = std::vsnprintf(buffer, sizeof buffer, pszFormat, probe);
    va_end(probe);
    if (nNeeded < 0)
        return std::string();
    if (static_cast<size_t>(nNeeded) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(nNeeded));
    std::string str(static_cast<size_t>(nNeeded) + 1, '\0');
    std::vsnprintf(str.data(), str.size(), pszFormat, args);
    str.resize(static_cast<size_t>(nNeeded));
    return str;
}

BOOL CString::LoadString(UINT nID) {
    const char* pszText = AfxFindStringResource(nID);
    m_str.assign(pszText ? pszText : "");
    return pszText != nullptr;
}

int CString::Replace(char chOld, char chNew) {
    int nCount = 0;
    for (char& ch : m_str) {
        if (ch == chOld) {
            ch = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(const char* pszOld, const char* pszNew) {
    const size_t nOldLen = pszOld ? std::strlen(pszOld) : 0;
    if (nOldLen == 0)
        return 0;
    const std::string_view strNew = pszNew ? pszNew : "";
    size_t nPos = m_str.find(pszOld);
    if (nPos == std::string::npos)
        return 0;
    std::string strResult;
    strResult.reserve(m_str.size());
    size_t nFrom = 0;
    int nCount = 0;
    for (; nPos != std::string::npos; nPos = m_str.find(pszOld, nFrom)) {
        strResult.append(m_str, nFrom, nPos - nFrom);
        strResult.append(strNew);
        nFrom = nPos + nOldLen;
        ++nCount;
    }
    strResult.append(m_str, nFrom, std::string::npos);
    m_str.swap(strResult);
    return nCount;
}

int CString::Remove(char ch) {
    const size_t nOld = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(nOld - m_str.size());
}

CString& CString::Trim() {
    return Trim(kWhitespace);
}
CString& CString::TrimLeft() {
    return TrimLeft(kWhitespace);
}
CString& CString::TrimRight() {
    return TrimRight(kWhitespace);
}

CString& CString::Trim(const char* pszTargets) {
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::TrimLeft(const char* pszTargets) {
    m_str.erase(0, std::min(m_str.find_first_not_of(pszTargets), m_str.size()));
    return *this;
}

CString& CString::TrimRight(const char* pszTargets) {
    const size_t nLast = m_str.find_last_not_of(pszTargets);
    m_str.erase(nLast == std::string::npos ? 0 : nLast + 1);
    return *this;
}

CString& CString::MakeUpper() {
    for (char& ch : m_str)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return *this;
}

CString& CString::MakeLower() {
    for (char& ch : m_str)
        ch = static_cast<char>(ToLowerAscii(static_cast<unsigned char>(ch)));
    return *this;
}

int CString::Find(char ch, int nStart) const {
    const size_t nPos = m_str.find(ch, static_cast<size_t>(std::max(nStart, 0)));
    return nPos == std::string::npos ? -1 : static_cast<int>(nPos);
}

int CString::Find(const char* psz, int nStart) const {
    const size_t nPos = m_str.find(psz ? psz : "", static_cast<size_t>(std::max(nStart, 0)));
    return nPos == std::string::npos ? -1 : static_cast<int>(nPos);
}

int CString::ReverseFind(char ch) const {
    const size_t nPos = m_str.rfind(ch);
    return nPos == std::string::npos ? -1 : static_cast<int>(nPos);
}

CString CString::Left(int nCount) const {
    return CString(m_str.substr(0, static_cast<size_t>(std::clamp(nCount, 0, GetLength()))));
}

CString CString::Right(int nCount) const {
    const int n = std::clamp(nCount, 0, GetLength());
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(n)));
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    const int nFrom = std::clamp(nFirst, 0, GetLength());
    const int n = std::clamp(nCount, 0, GetLength() - nFrom);
    return CString(m_str.substr(static_cast<size_t>(nFrom), static_cast<size_t>(n)));
}

int CString::CompareNoCase(const char* psz) const {
    const std::string_view other = psz ? psz : "";
    const size_t n = std::min(m_str.size(), other.size());
    for (size_t i = 0; i < n; ++i) {
        const int a = ToLowerAscii(static_cast<unsigned char>(m_str[i]));
        const int b = ToLowerAscii(static_cast<unsigned char>(other[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (m_str.size() == other.size())
        return 0;
    return m_str.size() < other.size() ? -1 : 1;
}
