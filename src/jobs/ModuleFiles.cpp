#include "jobs/ModuleFiles.h"

#include "jobs/JobFiles.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <filesystem>

namespace {

thread_local int t_nCategory = -1;

} // namespace

CModuleOutput::CModuleOutput(std::string strDir, TCategoryFiles aFiles, CReplaceGate& gate)
    : m_strDir(std::move(strDir)), m_aFiles(std::move(aFiles)), m_gate(gate) {}

void CModuleOutput::Start(int nCategory) {
    t_nCategory = nCategory;
    StartCategory(nCategory);
}

int CModuleOutput::CurrentCategory() {
    return t_nCategory;
}

bool CModuleOutput::Finish(int nCategory, const std::string& strText) {
    bool bFailed = false;
    {
        std::lock_guard lock(m_mutex);
        bFailed = m_setFailed.count(nCategory) > 0;
    }
    const bool bWritten = !bFailed && WriteCategory(nCategory, strText);
    t_nCategory = -1;
    return bWritten;
}

void CModuleOutput::Failed(int nCategory, TJobNotice& notice) {
    {
        std::lock_guard lock(m_mutex);
        m_setFailed.insert(nCategory);
    }
    KeptFiles(nCategory, notice);
}

bool CModuleOutput::StopsHere() const {
    const int nRefused = m_nRefusedCategory.load();
    return nRefused != kNone && (t_nCategory < 0 || t_nCategory >= nRefused);
}

std::string CModuleOutput::RefusedFile() const {
    std::lock_guard lock(m_mutex);
    return m_strRefusedFile;
}

bool CModuleOutput::TellWriteFailures(IJobObserver& observer) const {
    std::vector<std::pair<int, TJobNotice>> aNotices;
    {
        std::lock_guard lock(m_mutex);
        aNotices = m_aNotWritten;
    }
    std::stable_sort(aNotices.begin(), aNotices.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [nCategory, notice] : aNotices)
        observer.OnNotice(notice);
    return !aNotices.empty();
}

bool CModuleOutput::Allow(const std::string& strRelative) {
    return m_gate.Allow(std::filesystem::path(m_strDir) / strRelative, strRelative) || Refuse(strRelative);
}

bool CModuleOutput::Write(const std::string& strRelative, std::string_view strText) {
    const std::filesystem::path path = std::filesystem::path(m_strDir) / strRelative;
    try {
        return m_gate.Write(path, strRelative, strText) || Refuse(strRelative);
    } catch (CException* e) {
        const CExceptionPtr<> guard(e);
        NotWritten(FileNotice(eJobNotice::CannotWrite, path.string(), *e));
        return false;
    }
}

void CModuleOutput::NotWritten(TJobNotice notice) {
    std::lock_guard lock(m_mutex);
    m_aNotWritten.emplace_back(t_nCategory, std::move(notice));
}

// The first file kept is the one that stopped the run.
bool CModuleOutput::Refuse(const std::string& strRelative) {
    std::lock_guard lock(m_mutex);
    int nNone = kNone;
    if (m_nRefusedCategory.compare_exchange_strong(nNone, t_nCategory))
        m_strRefusedFile = strRelative;
    return false;
}

void CModuleOutput::RefuseBeforehand(const std::string& strRelative) {
    std::lock_guard lock(m_mutex);
    m_bRefusedBeforehand = true;
    m_strRefusedFile = strRelative;
}

void CModuleOutput::KeptFile(const std::string& strRelative, TJobNotice& notice) const {
    std::error_code ec;
    notice.strSubject = strRelative;
    notice.bFlag = std::filesystem::exists(std::filesystem::path(m_strDir) / strRelative, ec);
}

std::vector<int> CCategoryFiles::AllowBeforehand(const std::vector<int>& aCategories) {
    std::vector<int> aAllowed;
    for (const int nCategory : aCategories) {
        const std::string& strFile = m_aFiles[static_cast<size_t>(nCategory)];
        if (!m_gate.Allow(std::filesystem::path(m_strDir) / strFile, strFile)) {
            RefuseBeforehand(strFile);
            break;
        }
        aAllowed.push_back(nCategory);
    }
    return aAllowed;
}

void CCategoryFiles::StartCategory(int nCategory) {
    Allow(m_aFiles[static_cast<size_t>(nCategory)]);
}

bool CCategoryFiles::WriteCategory(int nCategory, const std::string& strText) {
    return Write(m_aFiles[static_cast<size_t>(nCategory)], strText);
}

void CCategoryFiles::KeptFiles(int nCategory, TJobNotice& notice) const {
    KeptFile(m_aFiles[static_cast<size_t>(nCategory)], notice);
}
