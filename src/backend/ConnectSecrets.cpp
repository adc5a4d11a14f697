#include "backend/ConnectSecrets.h"

#include "backend/ConnectString.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kMask = "***";
constexpr std::string_view kSecretKeys[] = {"PWD", "PASSWORD"};
// A shorter password is found in too many words to mean anything where a message holds it.
constexpr size_t kShortestFound = 4;

std::string Upper(std::string_view str) {
    std::string strUpper(str);
    std::transform(strUpper.begin(), strUpper.end(), strUpper.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return strUpper;
}

bool IsSecretKey(std::string_view strKey) {
    const std::string strUpper = Upper(strKey);
    return std::find(std::begin(kSecretKeys), std::end(kSecretKeys), strUpper) != std::end(kSecretKeys);
}

// The password values of a connect string, as written and without their braces.
std::vector<std::string> SecretValues(std::string_view strConnect) {
    std::vector<std::string> aValues;
    for (const TConnectPair& pair : ParseConnectString(strConnect)) {
        if (!IsSecretKey(pair.strKey) || pair.strValue.size() < kShortestFound)
            continue;
        aValues.emplace_back(pair.strWritten);
        if (pair.strValue.size() != pair.strWritten.size() && !pair.strValue.empty())
            aValues.emplace_back(pair.strValue);
    }
    // Longer values first, so that a value holding a shorter one is masked whole.
    std::sort(aValues.begin(), aValues.end(),
              [](const auto& a, const auto& b) { return a.size() > b.size(); });
    return aValues;
}

// Letters, digits, '_' and the bytes of characters beyond ASCII make words.
bool IsWordByte(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return std::isalnum(byte) || ch == '_' || byte >= 0x80;
}

// Whether strValue at nPos is a token of its own rather than part of a longer word: "Login" is not in
// "Logins", "ogin" not in "Login".
bool StandsAlone(const std::string& strText, size_t nPos, std::string_view strValue) {
    const size_t nEnd = nPos + strValue.size();
    return (nPos == 0 || !IsWordByte(strText[nPos - 1]) || !IsWordByte(strValue.front())) &&
           (nEnd == strText.size() || !IsWordByte(strText[nEnd]) || !IsWordByte(strValue.back()));
}

void MaskTokens(std::string& strText, std::string_view strValue) {
    for (size_t nPos = strText.find(strValue); nPos != std::string::npos;) {
        if (!StandsAlone(strText, nPos, strValue)) {
            nPos = strText.find(strValue, nPos + 1);
            continue;
        }
        strText.replace(nPos, strValue.size(), kMask);
        nPos = strText.find(strValue, nPos + kMask.size());
    }
}

// Where a quoted value that starts at nStart ends: at its closing brace ("}}" stands for one), else at the
// next separator.
size_t QuotedValueEnd(const std::string& strText, size_t nStart) {
    if (nStart < strText.size() && strText[nStart] == '{') {
        for (size_t nPos = nStart + 1; nPos < strText.size(); ++nPos) {
            if (strText[nPos] != '}')
                continue;
            if (nPos + 1 < strText.size() && strText[nPos + 1] == '}')
                ++nPos;
            else
                return nPos + 1;
        }
        return strText.size();
    }
    size_t nEnd = nStart;
    while (nEnd < strText.size() &&
           std::string_view(";'\"\r\n").find(strText[nEnd]) == std::string_view::npos)
        ++nEnd;
    return nEnd;
}

// "PWD=value" quoted in a text, up to the next separator, whatever the value is.
void MaskQuotedSecrets(std::string& strText) {
    for (std::string_view strKey : kSecretKeys) {
        const std::string strNeedle = std::string(strKey) + "=";
        for (size_t nPos = Upper(strText).find(strNeedle); nPos != std::string::npos;
             nPos = Upper(strText).find(strNeedle, nPos + 1)) {
            const size_t nStart = nPos + strNeedle.size();
            strText.replace(nStart, QuotedValueEnd(strText, nStart) - nStart, kMask);
        }
    }
}

} // namespace

std::string HideConnectSecrets(std::string strText, const std::string& strConnect) {
    for (const std::string& strValue : SecretValues(strConnect))
        MaskTokens(strText, strValue);
    MaskQuotedSecrets(strText);
    return strText;
}
