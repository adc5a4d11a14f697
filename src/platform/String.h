// CString: MFC's 8-bit string, holding UTF-8 text.
#pragma once

#include "AfxTypes.h"

#include <cstdarg>
#include <string>
#include <string_view>
#include <utility>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, static_cast<size_t>(nLength)) {}
    CString(char ch, int nRepeat = 1) : m_str(static_cast<size_t>(nRepeat), ch) {}
    CString(std::string str) : m_str(std::move(str)) {}
    CString(std::string_view str) : m_str(str) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    void Preallocate(int nLength) { m_str.reserve(static_cast<size_t>(nLength)); }
    const char* GetString() const { return m_str.c_str(); }
    operator const char*() const { return m_str.c_str(); }
    const std::string& Str() const { return m_str; }
    std::string& Str() { return m_str; }
    char GetAt(int nIndex) const { return m_str[static_cast<size_t>(nIndex)]; }

    // printf rules. CString arguments may be passed directly; they are handed over as const char*.
    // The text is formatted aside first, so the string itself may be one of the arguments.
    template <typename... Args> void Format(const char* pszFormat, const Args&... args) {
        m_str = FormatImpl(pszFormat, FormatArg(args)...);
    }
    template <typename... Args> void AppendFormat(const char* pszFormat, const Args&... args) {
        m_str += FormatImpl(pszFormat, FormatArg(args)...);
    }
    void FormatV(const char* pszFormat, va_list args);

    // Loads the string resource nID; FALSE (and empty text) when there is none.
    BOOL LoadString(UINT nID);

    int Replace(char chOld, char chNew);
    int Replace(const char* pszOld, const char* pszNew);
    int Remove(char ch);
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim(const char* pszTargets);
    CString& TrimLeft(const char* pszTargets);
    CString& TrimRight(const char* pszTargets);
    CString& MakeUpper();
    CString& MakeLower();

    int Find(char ch, int nStart = 0) const;
    int Find(const char* psz, int nStart = 0) const;
    int ReverseFind(char ch) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    int Compare(const char* psz) const { return m_str.compare(psz ? psz : ""); }
    int CompareNoCase(const char* psz) const;

    CString& operator=(const char* psz) {
        m_str.assign(psz ? psz : "");
        return *this;
    }
    CString& operator+=(const CString& str) {
        m_str += str.m_str;
        return *this;
    }
    CString& operator+=(const char* psz) {
        if (psz)
            m_str += psz;
        return *this;
    }
    CString& operator+=(char ch) {
        m_str += ch;
        return *this;
    }
    void Append(const char* pch, int nLength) { m_str.append(pch, static_cast<size_t>(nLength)); }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_str + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_str); }
    friend CString operator+(const CString& a, char b) { return CString(a.m_str + b); }
    // A temporary on the left grows in place instead of being copied: long texts end in a short tail.
    friend CString operator+(CString&& a, const CString& b) { return std::move(a += b); }
    friend CString operator+(CString&& a, CString&& b) { return std::move(a += b); }
    friend CString operator+(CString&& a, const char* b) { return std::move(a += b); }
    friend CString operator+(CString&& a, char b) { return std::move(a += b); }
    friend CString operator+(const char* a, CString&& b) {
        b.m_str.insert(0, a ? a : "");
        return std::move(b);
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

private:
    static const char* FormatArg(const CString& str) { return str.GetString(); }
    template <typename T> static const T& FormatArg(const T& value) { return value; }
    static std::string FormatImpl(const char* pszFormat, ...);
    static std::string FormatToString(const char* pszFormat, va_list args);

    std::string m_str;
};
