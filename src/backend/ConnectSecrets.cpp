#include "backend/ConnectSecrets.h"

#include "backend/ConnectString.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kMask = "***";
constexpr std::string_view kSecretKeys[] = {"PWD", "PASSWORD"};

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
        if (!IsSecretKey(pair.strKey) || pair.strWritten.empty())
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

void ReplaceAll(std::string& strText, std::string_view strWhat, std::string_view strWith) {
    for (size_t nPos = strText.find(strWhat); nPos != std::string::npos;
         nPos = strText.find(strWhat, nPos + strWith.size()))
        strText.replace(nPos, strWhat.size(), strWith);
}

// "PWD=value" quoted in a text, up to the next separator, whatever the value is.
void MaskQuotedSecrets(std::string& strText) {
    for (std::string_view strKey : kSecretKeys) {
        const std::string strNeedle = std::string(strKey) + "=";
        for (size_t nPos = Upper(strText).find(strNeedle); nPos != std::string::npos;
             nPos = Upper(strText).find(strNeedle, nPos + 1)) {
            const size_t nStart = nPos + strNeedle.size();
            size_t nEnd = nStart;
            while (nEnd < strText.size() &&
                   std::string_view(";'\"\r\n").find(strText[nEnd]) == std::string_view::npos)
                ++nEnd;
            strText.replace(nStart, nEnd - nStart, kMask);
        }
    }
}

} // namespace

std::string HideConnectSecrets(std::string strText, const std::string& strConnect) {
    for (const std::string& strValue : SecretValues(strConnect))
        ReplaceAll(strText, strValue, kMask);
    MaskQuotedSecrets(strText);
    return strText;
}
