#include "jobs/ObjectFiles.h"

#include "jobs/JobFiles.h"
#include "jobs/Manifest.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Whatever a category's objects use comes before it: schemas, defaults (which user types bind), user types,
// tables, their keys, indexes and checks, foreign keys, then the modules, full text last.
constexpr std::array<eSqlTypeObjects, SQL_CATEGORY_COUNT> kApplyOrder = {
    eSqlSchemas, eSqlDefaults, eSqlUdt,   eSqlTables,     eSqlPK,       eSqlIndexes,  eSqlChecks,
    eSqlFK,      eSqlUdf,      eSqlViews, eSqlStoredProc, eSqlTriggers, eSqlFullText,
};

} // namespace

CObjectFiles::CObjectFiles(std::string strDir, CNameTemplate nameTemplate, const TCategoryFiles& aFiles,
                           CReplaceGate& gate)
    : CModuleOutput(std::move(strDir), aFiles, gate), m_template(std::move(nameTemplate)) {
    for (size_t i = 0; i < m_aFiles.size(); ++i) {
        m_aFolders[i] = CategoryFolder(m_aFiles[i]);
        m_aPatterns.push_back(i == eSqlFullText ? LiteralPattern(m_aFiles[i])
                                                : m_template.Pattern(m_aFolders[i], i != eSqlSchemas));
    }
}

void CObjectFiles::Object(int nCategory, const std::string& strSchema, const std::string& strName,
                          const std::string& strText) {
    if (strText.empty())
        return;
    TCategory& category = m_aCategories[static_cast<size_t>(nCategory)];
    const std::string& strFolder = m_aFolders[static_cast<size_t>(nCategory)];
    const std::string strPath =
        m_template.UniquePath(strFolder, strSchema, EscapeFileName(strName), category.setUsed);
    if (category.aObjects.empty())
        category.strFirstText = strText;
    category.aObjects.push_back({strPath, strText.size()});
    Allow(strPath);
}

bool CObjectFiles::WriteCategory(int nCategory, const std::string& strText) {
    TCategory& category = m_aCategories[static_cast<size_t>(nCategory)];
    if (nCategory == eSqlFullText) {
        const std::string& strFile = m_aFiles[static_cast<size_t>(nCategory)];
        const bool bWritten = Write(strFile, strText);
        if (bWritten)
            category.aWritten.push_back(strFile);
        return bWritten;
    }
    const std::vector<TPending> aPending = std::exchange(category.aObjects, {});
    size_t nTotal = 0;
    for (const TPending& object : aPending)
        nTotal += object.nLength;
    const size_t nStart = aPending.empty() ? 0 : strText.find(std::exchange(category.strFirstText, {}));
    if (nStart == std::string::npos || nStart + nTotal > strText.size()) {
        TJobNotice notice{eJobNotice::CategoryTextChanged};
        notice.nCategory = nCategory;
        NotWritten(notice);
        return false;
    }
    const std::string_view strBefore(strText.data(), nStart);
    const std::string_view strAfter(strText.data() + nStart + nTotal, strText.size() - nStart - nTotal);
    bool bWritten = true;
    for (size_t nAt = nStart; const TPending& object : aPending) {
        if (StopsHere())
            return false;
        std::string strFile;
        strFile.reserve(strBefore.size() + object.nLength + strAfter.size());
        strFile.append(strBefore).append(strText, nAt, object.nLength).append(strAfter);
        nAt += object.nLength;
        std::error_code ec;
        fs::create_directories((fs::path(m_strDir) / object.strPath).parent_path(), ec);
        if (Write(object.strPath, strFile))
            category.aWritten.push_back(object.strPath);
        else
            bWritten = false;
    }
    return bWritten;
}

void CObjectFiles::KeptFiles(int nCategory, TJobNotice& notice) const {
    if (nCategory == eSqlFullText)
        KeptFile(m_aFiles[static_cast<size_t>(nCategory)], notice);
}

int CObjectFiles::CategoryOf(const std::string& strRelative) const {
    for (size_t i = 0; i < m_aPatterns.size(); ++i)
        if (std::regex_match(strRelative, m_aPatterns[i]))
            return static_cast<int>(i);
    return -1;
}

bool CObjectFiles::Conclude(const std::vector<int>& aCategories, bool bPrune, IJobObserver& observer) {
    std::set<std::string> setWritten;
    for (const TCategory& category : m_aCategories)
        for (const std::string& strFile : category.aWritten)
            setWritten.insert(FoldCaseUtf8(strFile));
    std::array<std::vector<std::string>, SQL_CATEGORY_COUNT> aKept;
    std::vector<std::string> aOthers;
    std::set<std::pair<std::string, int>> setStale;
    std::error_code ec;
    for (const std::string& strFile : ReadManifest(m_strDir)) {
        if (setWritten.count(FoldCaseUtf8(strFile)) || !fs::exists(fs::path(m_strDir) / strFile, ec))
            continue;
        const int nCategory = CategoryOf(strFile);
        if (nCategory < 0)
            aOthers.push_back(strFile);
        else if (std::find(aCategories.begin(), aCategories.end(), nCategory) != aCategories.end())
            setStale.emplace(strFile, nCategory);
        else
            aKept[static_cast<size_t>(nCategory)].push_back(strFile);
    }
    for (const auto& [strFile, nCategory] : setStale) {
        TJobNotice notice{bPrune ? eJobNotice::StaleObjectFileRemoved : eJobNotice::StaleObjectFile};
        notice.eOption = eJobOption::Prune;
        notice.strSubject = strFile;
        if (bPrune && !fs::remove(fs::path(m_strDir) / strFile, ec)) {
            notice.eWhat = eJobNotice::CannotRemove;
            notice.nSystemError = ec.value();
        }
        observer.OnNotice(notice);
        if (!bPrune || ec)
            aKept[static_cast<size_t>(nCategory)].push_back(strFile);
    }
    std::vector<std::string> aManifest;
    for (const eSqlTypeObjects eCategory : kApplyOrder) {
        const TCategory& category = m_aCategories[static_cast<size_t>(eCategory)];
        aManifest.insert(aManifest.end(), category.aWritten.begin(), category.aWritten.end());
        aManifest.insert(aManifest.end(), aKept[eCategory].begin(), aKept[eCategory].end());
    }
    aManifest.insert(aManifest.end(), aOthers.begin(), aOthers.end());
    try {
        WriteManifest(m_strDir, aManifest);
        return true;
    } catch (const CJobFailure& failure) {
        observer.OnNotice(failure.Notice());
        return false;
    }
}
