#include "backend/ConnectString.h"

#include <cctype>
#include <strings.h>

namespace {

std::string_view Trim(std::string_view str) {
    while (!str.empty() && std::isspace(static_cast<unsigned char>(str.front())))
        str.remove_prefix(1);
    while (!str.empty() && std::isspace(static_cast<unsigned char>(str.back())))
        str.remove_suffix(1);
    return str;
}

// Where the value that starts at nStart ends: at the next ';', or for a value in braces after the '}' that
// ends the text or precedes a ';'.
size_t ValueEnd(std::string_view strConnect, size_t nStart) {
    const std::string_view strRest = strConnect.substr(nStart);
    if (!Trim(strRest).starts_with('{'))
        return std::min(strConnect.find(';', nStart), strConnect.size());
    for (size_t nClose = strConnect.find('}', nStart); nClose != std::string_view::npos;
         nClose = strConnect.find('}', nClose + 1))
        if (nClose + 1 == strConnect.size() || strConnect[nClose + 1] == ';')
            return nClose + 1;
    return strConnect.size();
}

} // namespace

std::vector<TConnectPair> ParseConnectString(std::string_view strConnect) {
    std::vector<TConnectPair> aPairs;
    for (size_t nStart = 0; nStart < strConnect.size();) {
        const size_t nSeparator = std::min(strConnect.find(';', nStart), strConnect.size());
        const size_t nEquals = std::min(strConnect.find('=', nStart), nSeparator);
        const size_t nEnd = nEquals < nSeparator ? ValueEnd(strConnect, nEquals + 1) : nSeparator;
        TConnectPair pair;
        pair.strKey = Trim(strConnect.substr(nStart, nEquals - nStart));
        pair.strWritten = nEquals < nEnd ? Trim(strConnect.substr(nEquals + 1, nEnd - nEquals - 1)) : "";
        pair.strValue = pair.strWritten;
        if (pair.strValue.size() >= 2 && pair.strValue.front() == '{' && pair.strValue.back() == '}')
            pair.strValue = pair.strValue.substr(1, pair.strValue.size() - 2);
        pair.nNext = std::min(nEnd + 1, strConnect.size());
        nStart = pair.nNext;
        if (!pair.strKey.empty() || !pair.strWritten.empty())
            aPairs.push_back(pair);
    }
    return aPairs;
}

bool SameConnectKey(std::string_view strKey, std::string_view strOther) {
    return strKey.size() == strOther.size() &&
           strncasecmp(strKey.data(), strOther.data(), strKey.size()) == 0;
}

std::optional<std::string> FindConnectValue(std::string_view strConnect, std::string_view strKey) {
    for (const TConnectPair& pair : ParseConnectString(strConnect))
        if (SameConnectKey(pair.strKey, strKey))
            return std::string(pair.strValue);
    return std::nullopt;
}

std::string ConnectValue(std::string_view strConnect, std::string_view strKey) {
    return FindConnectValue(strConnect, strKey).value_or(std::string());
}

std::string WithConnectValue(std::string_view strConnect, std::string_view strKey,
                             std::string_view strValue) {
    std::string strResult;
    size_t nStart = 0;
    for (const TConnectPair& pair : ParseConnectString(strConnect)) {
        if (!SameConnectKey(pair.strKey, strKey))
            strResult.append(strConnect.substr(nStart, pair.nNext - nStart));
        nStart = pair.nNext;
    }
    if (!strResult.empty() && strResult.back() != ';')
        strResult += ';';
    // Without braces a ';' would end the value, blanks around it would be left out, and a '{' would open
    // braces of its own.
    const bool bBraces = strValue.find(';') != std::string_view::npos ||
                         (!strValue.empty() && (strValue.front() == '{' ||
                                                std::isspace(static_cast<unsigned char>(strValue.front())) ||
                                                std::isspace(static_cast<unsigned char>(strValue.back()))));
    strResult.append(strKey).append("=");
    return bBraces ? strResult.append("{").append(strValue).append("}") : strResult.append(strValue);
}
