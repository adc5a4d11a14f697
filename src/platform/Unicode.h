// Conversions between UTF-8 (CString's encoding) and the UTF-16 of ODBC's wide-character calls, and case
// folding for names compared without regard to case.
#pragma once

#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view str);
// Appends the UTF-8 form of nLength UTF-16 units; unpaired surrogates become U+FFFD.
void AppendUtf16AsUtf8(std::string& strOut, const char16_t* pch, size_t nLength);
// The text with every letter in lower case (Unicode simple case mapping, not only ASCII): a key under which
// names that differ only in letter case are equal.
std::string FoldCaseUtf8(std::string_view str);
