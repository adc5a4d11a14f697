#include "platform/Unicode.h"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <locale.h>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::string& strOut, char32_t cp) {
    if (cp < 0x80) {
        strOut += static_cast<char>(cp);
    } else if (cp < 0x800) {
        strOut += static_cast<char>(0xC0 | (cp >> 6));
        strOut += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        strOut += static_cast<char>(0xE0 | (cp >> 12));
        strOut += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        strOut += static_cast<char>(0xF0 | (cp >> 18));
        strOut += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        strOut += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at str[nPos], advancing nPos; malformed input gives U+FFFD.
char32_t DecodeUtf8(std::string_view str, size_t& nPos) {
    const auto lead = static_cast<unsigned char>(str[nPos++]);
    if (lead < 0x80)
        return lead;
    int nTrail = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        nTrail = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        nTrail = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        nTrail = 3;
        cp = lead & 0x07;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < nTrail; ++i) {
        if (nPos >= str.size() || (static_cast<unsigned char>(str[nPos]) & 0xC0) != 0x80)
            return kReplacement;
        cp = (cp << 6) | (static_cast<unsigned char>(str[nPos++]) & 0x3F);
    }
    return cp > 0x10FFFF ? kReplacement : cp;
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view str) {
    std::u16string strOut;
    strOut.reserve(str.size());
    for (size_t nPos = 0; nPos < str.size();) {
        const char32_t cp = DecodeUtf8(str, nPos);
        if (cp < 0x10000) {
            strOut += static_cast<char16_t>(cp);
            continue;
        }
        strOut += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        strOut += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
    return strOut;
}

void AppendUtf16AsUtf8(std::string& strOut, const char16_t* pch, size_t nLength) {
    strOut.reserve(strOut.size() + nLength);
    for (size_t i = 0; i < nLength; ++i) {
        // A run of ASCII, most of most text, is copied in one step.
        size_t nEnd = i;
        while (nEnd < nLength && pch[nEnd] < 0x80)
            ++nEnd;
        if (nEnd > i) {
            const size_t nAt = strOut.size();
            strOut.resize(nAt + nEnd - i);
            std::copy(pch + i, pch + nEnd, strOut.begin() + static_cast<std::ptrdiff_t>(nAt));
            i = nEnd - 1;
            continue;
        }
        const char32_t unit = pch[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < nLength && pch[i + 1] >= 0xDC00 &&
            pch[i + 1] <= 0xDFFF) {
            AppendCodePoint(strOut, 0x10000 + ((unit - 0xD800) << 10) + (pch[i + 1] - 0xDC00));
            ++i;
            continue;
        }
        AppendCodePoint(strOut, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit);
    }
}

std::string FoldCaseUtf8(std::string_view str) {
    // The C.UTF-8 locale maps every Unicode letter, whatever locale the process runs in.
    static const locale_t utf8Locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    std::string strOut;
    strOut.reserve(str.size());
    // Names are mostly ASCII: a byte at a time up to the first that is not.
    size_t nPos = 0;
    for (; nPos < str.size() && static_cast<unsigned char>(str[nPos]) < 0x80; ++nPos)
        strOut += str[nPos] >= 'A' && str[nPos] <= 'Z' ? static_cast<char>(str[nPos] - 'A' + 'a') : str[nPos];
    while (nPos < str.size()) {
        const char32_t cp = DecodeUtf8(str, nPos);
        if (cp < 0x80 || !utf8Locale) {
            AppendCodePoint(strOut, cp >= 'A' && cp <= 'Z' ? cp - 'A' + 'a' : cp);
            continue;
        }
        AppendCodePoint(strOut, static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), utf8Locale)));
    }
    return strOut;
}
