#include "jobs/NameTemplate.h"

#include "jobs/JobFiles.h"
#include "platform/Unicode.h"

#include <cstdio>
#include <stdexcept>
#include <string_view>

namespace {

constexpr std::string_view kPlaceholders[] = {"{category}", "{schema}", "{name}"};

bool IsSeparator(char ch) {
    return ch == '.' || ch == '/';
}

std::string RegexEscape(const std::string& strText) {
    std::string strOut;
    for (char ch : strText) {
        if (std::string_view("\\^$.|?*+()[]{}").find(ch) != std::string_view::npos)
            strOut += '\\';
        strOut += ch;
    }
    return strOut;
}

} // namespace

std::vector<CNameTemplate::TPart> CNameTemplate::Parse(const std::string& strText,
                                                       std::optional<eNameTemplateFault>& fault) {
    std::vector<TPart> aParts;
    bool bCategory = false, bName = false;
    for (size_t nPos = 0; nPos < strText.size();) {
        size_t nNext = std::string::npos, nWhich = 0;
        for (size_t i = 0; i < std::size(kPlaceholders); ++i) {
            const size_t nAt = strText.find(kPlaceholders[i], nPos);
            if (nAt < nNext) {
                nNext = nAt;
                nWhich = i;
            }
        }
        if (nNext != nPos) {
            const std::string strPart = strText.substr(nPos, nNext - nPos);
            if (strPart.find_first_of("{}") != std::string::npos) {
                fault = eNameTemplateFault::UnknownPlaceholder;
                return aParts;
            }
            aParts.push_back({ePart::Text, strPart});
            nPos = nNext;
            continue;
        }
        aParts.push_back({static_cast<ePart>(nWhich + 1), std::string()});
        bCategory |= nWhich == 0;
        bName |= nWhich == 2;
        nPos += kPlaceholders[nWhich].size();
    }
    if (!bCategory || !bName)
        fault = eNameTemplateFault::NoCategoryOrName;
    else if (!IsFileInsideFolder(strText))
        fault = eNameTemplateFault::LeavesFolder;
    return aParts;
}

std::optional<eNameTemplateFault> CNameTemplate::FaultOf(const std::string& strText) {
    std::optional<eNameTemplateFault> fault;
    Parse(strText, fault);
    return fault;
}

CNameTemplate::CNameTemplate(const std::string& strText) {
    std::optional<eNameTemplateFault> fault;
    m_aParts = Parse(strText, fault);
    if (fault)
        throw std::invalid_argument("not a name template: " + strText);
}

std::string CNameTemplate::Path(const std::string& strCategory, const std::string& strSchema,
                                const std::string& strName) const {
    std::string strPath;
    bool bDropSeparator = false;
    for (const TPart& part : m_aParts) {
        if (part.eKind == ePart::Text)
            strPath += bDropSeparator && IsSeparator(part.strText[0]) ? part.strText.substr(1) : part.strText;
        else if (part.eKind == ePart::Category)
            strPath += strCategory;
        else if (part.eKind == ePart::Schema)
            strPath += EscapeFileName(strSchema);
        else
            strPath += strName;
        bDropSeparator = part.eKind == ePart::Schema && strSchema.empty();
    }
    return strPath;
}

std::string CNameTemplate::UniquePath(const std::string& strCategory, const std::string& strSchema,
                                      const std::string& strName, std::set<std::string>& setUsed) const {
    std::string strPath = Path(strCategory, strSchema, strName);
    for (int n = 2; !setUsed.insert(FoldCaseUtf8(strPath)).second; ++n)
        strPath = Path(strCategory, strSchema, strName + "~" + std::to_string(n));
    return strPath;
}

std::regex CNameTemplate::Pattern(const std::string& strCategory, bool bWithSchema) const {
    std::string strPattern;
    bool bDropSeparator = false;
    for (const TPart& part : m_aParts) {
        if (part.eKind == ePart::Text)
            strPattern += RegexEscape(bDropSeparator && IsSeparator(part.strText[0]) ? part.strText.substr(1)
                                                                                     : part.strText);
        else if (part.eKind == ePart::Category)
            strPattern += RegexEscape(strCategory);
        else if (part.eKind == ePart::Schema)
            strPattern += bWithSchema ? "[^/]+" : "";
        else
            strPattern += "[^/]+";
        bDropSeparator = part.eKind == ePart::Schema && !bWithSchema;
    }
    return std::regex(strPattern);
}

std::string EscapeFileName(const std::string& strName) {
    if (strName == "." || strName == "..")
        return strName == "." ? "%2E" : "%2E%2E";
    std::string strOut;
    for (char ch : strName) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("/\\:*?\"<>|%~").find(ch) != std::string_view::npos) {
            char szHex[4];
            std::snprintf(szHex, sizeof szHex, "%%%02X", byte);
            strOut += szHex;
            continue;
        }
        strOut += ch;
    }
    return strOut;
}

std::regex LiteralPattern(const std::string& strText) {
    return std::regex(RegexEscape(strText));
}

std::string CategoryFolder(const std::string& strFile) {
    return strFile.size() > 4 && strFile.ends_with(".sql") ? strFile.substr(0, strFile.size() - 4) : strFile;
}
