#include "jobs/ReplaceGate.h"

namespace {

// A character device or a pipe (/dev/null, a named pipe) takes the bytes in place and is never replaced:
// there is nothing to ask leave for.
bool IsWrittenInPlace(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    return std::filesystem::is_character_file(status) || std::filesystem::is_fifo(status);
}

} // namespace

CReplaceGate::CReplaceGate(eReplacePolicy ePolicy, IExportObserver& observer)
    : m_ePolicy(ePolicy), m_observer(observer), m_bAll(ePolicy == eReplacePolicy::All) {}

bool CReplaceGate::Allow(const std::filesystem::path& path, const std::string& strShown) {
    std::lock_guard lock(m_mutex);
    std::error_code ec;
    if (m_bAll || m_setAllowed.count(path) || IsWrittenInPlace(path) ||
        !std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
        return true;
    if (m_ePolicy != eReplacePolicy::Ask)
        return false;
    const eReplaceAnswer eAnswer = m_observer.AskReplace(strShown);
    m_bAll = eAnswer == eReplaceAnswer::YesToAll;
    if (eAnswer != eReplaceAnswer::Yes && !m_bAll)
        return false;
    m_setAllowed.insert(path);
    return true;
}

bool CReplaceGate::MayReplace(const std::filesystem::path& path) {
    std::lock_guard lock(m_mutex);
    return m_bAll || m_setAllowed.count(path);
}

bool CReplaceGate::Write(const std::filesystem::path& path, const std::string& strShown,
                         std::string_view strText) {
    if (!MayReplace(path) && WriteFileNew(path.c_str(), strText.data(), strText.size()))
        return true;
    if (!Allow(path, strShown))
        return false;
    WriteFileReplacing(path.c_str(), strText.data(), strText.size());
    return true;
}

bool CReplaceGate::Put(const std::filesystem::path& path, const std::string& strShown,
                       CFileReplacement& file) {
    if (!MayReplace(path) && file.CommitIfFree())
        return true;
    if (!Allow(path, strShown))
        return false;
    file.Commit();
    return true;
}
