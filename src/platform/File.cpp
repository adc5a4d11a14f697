#include "platform/File.h"

#include "platform/Exceptions.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <regex>
#include <set>
#include <unistd.h>

namespace {

int CauseFromErrno(int nErrno) {
    switch (nErrno) {
    case ENOENT:
        return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return CFileException::badPath;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return CFileException::accessDenied;
    case EMFILE:
    case ENFILE:
        return CFileException::tooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
        return CFileException::diskFull;
    case EIO:
        return CFileException::hardIO;
    default:
        return CFileException::genericException;
    }
}

[[noreturn]] void ThrowFromErrno(int nErrno, const CString& strFileName) {
    AfxThrowFileException(CauseFromErrno(nErrno), nErrno, strFileName);
}

// A name beside strPath that no other writer of this or another process picks: ".<name>.<pid>-<n>.tmp".
CString TemporaryNameBeside(const CString& strPath) {
    static std::atomic<unsigned long> nNext{0};
    const int nSlash = strPath.ReverseFind('/');
    CString strName;
    strName.Format("%s.%s.%ld-%lu.tmp", strPath.Left(nSlash + 1).GetString(),
                   strPath.Mid(nSlash + 1).GetString(), static_cast<long>(::getpid()), nNext.fetch_add(1));
    return strName;
}

// The temporary files of the process that have no name of their own yet.
struct TTemporaryFiles {
    std::mutex mutex;
    std::set<std::string> names;
    std::vector<const std::vector<std::string>*> aFolders; // of the provisional folders alive
};

TTemporaryFiles& TemporaryFiles() {
    static TTemporaryFiles files;
    return files;
}

// A temporary file of a process that is gone, with the name of the file it was for; false for any other.
bool IsStale(const std::filesystem::directory_entry& entry, std::string& strFor) {
    static const std::regex temporary(R"(\.(.+)\.([0-9]{1,9})-[0-9]+\.tmp)");
    const std::string strName = entry.path().filename().string();
    std::smatch match;
    if (!std::regex_match(strName, match, temporary))
        return false;
    const auto pid = static_cast<pid_t>(std::stol(match[2].str()));
    std::error_code ec;
    strFor = match[1].str();
    return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH && entry.is_regular_file(ec);
}

// Renames only when the target name is free, in one step, so that no other writer can come in between. File
// systems without that rename refuse a hard link to a taken name just as well.
bool NameIfFree(const CString& strTemporary, const CString& strTarget) {
    if (::renameat2(AT_FDCWD, strTemporary, AT_FDCWD, strTarget, RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    if (errno != EINVAL && errno != ENOSYS)
        ThrowFromErrno(errno, strTarget);
    if (::link(strTemporary, strTarget) != 0) {
        if (errno == EEXIST)
            return false;
        ThrowFromErrno(errno, strTarget);
    }
    ::unlink(strTemporary);
    return true;
}

} // namespace

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
    Open(lpszFileName, nOpenFlags);
}

CFile::~CFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags) {
    if (m_fd >= 0)
        Close();
    m_strFileName = lpszFileName;
    int nFlags = O_CLOEXEC;
    if (nOpenFlags & modeReadWrite)
        nFlags |= O_RDWR;
    else if (nOpenFlags & modeWrite)
        nFlags |= O_WRONLY;
    else
        nFlags |= O_RDONLY;
    if (nOpenFlags & modeCreate) {
        nFlags |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate))
            nFlags |= O_TRUNC;
    }
    m_fd = ::open(lpszFileName, nFlags, 0666);
    if (m_fd < 0)
        ThrowFromErrno(errno, m_strFileName);
}

void CFile::Write(const void* lpBuf, size_t nCount) {
    const char* p = static_cast<const char*>(lpBuf);
    while (nCount > 0) {
        const ssize_t nWritten = ::write(m_fd, p, nCount);
        if (nWritten < 0) {
            if (errno == EINTR)
                continue;
            ThrowFromErrno(errno, m_strFileName);
        }
        p += nWritten;
        nCount -= static_cast<size_t>(nWritten);
    }
}

void CFile::Close() {
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        ThrowFromErrno(errno, m_strFileName);
}

CTemporaryFileName::CTemporaryFileName(const CString& strBeside) : m_strName(TemporaryNameBeside(strBeside)) {
    TTemporaryFiles& files = TemporaryFiles();
    std::lock_guard lock(files.mutex);
    files.names.insert(m_strName.Str());
}

CTemporaryFileName::~CTemporaryFileName() {
    TTemporaryFiles& files = TemporaryFiles();
    std::lock_guard lock(files.mutex);
    files.names.erase(m_strName.Str());
}

CProvisionalFolders::CProvisionalFolders(std::vector<std::string> aFolders)
    : m_aFolders(std::move(aFolders)) {
    TTemporaryFiles& files = TemporaryFiles();
    std::lock_guard lock(files.mutex);
    files.aFolders.push_back(&m_aFolders);
}

CProvisionalFolders::~CProvisionalFolders() {
    TTemporaryFiles& files = TemporaryFiles();
    std::lock_guard lock(files.mutex);
    std::erase(files.aFolders, &m_aFolders);
}

void RemoveTemporaryFiles() {
    TTemporaryFiles& files = TemporaryFiles();
    std::lock_guard lock(files.mutex);
    for (const std::string& strName : files.names)
        ::unlink(strName.c_str());
    for (const std::vector<std::string>* pFolders : files.aFolders)
        for (const std::string& strFolder : *pFolders)
            ::rmdir(strFolder.c_str());
}

size_t RemoveStaleTemporaryFiles(const char* pszFolder) {
    namespace fs = std::filesystem;
    size_t nRemoved = 0;
    std::error_code ec;
    std::string strFor;
    for (fs::recursive_directory_iterator it(pszFolder, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec))
        if (IsStale(*it, strFor) && ::unlink(it->path().c_str()) == 0)
            ++nRemoved;
    return nRemoved;
}

size_t RemoveStaleTemporaryFilesOf(const char* pszPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path = fs::absolute(pszPath, ec);
    size_t nRemoved = 0;
    std::string strFor;
    for (fs::directory_iterator it(path.parent_path(), ec), end; !ec && it != end; it.increment(ec))
        if (IsStale(*it, strFor) && strFor == path.filename() && ::unlink(it->path().c_str()) == 0)
            ++nRemoved;
    return nRemoved;
}

int IsFileExist(const char* path) {
    std::error_code ec;
    return path && *path && std::filesystem::exists(path, ec) ? 1 : 0;
}

int CreateFullPath(const char* path) {
    if (!path || !*path)
        return 0;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec) ? 1 : 0;
}

CFileReplacement::CFileReplacement(const char* pszPath) {
    namespace fs = std::filesystem;
    std::error_code ecStatus, ecLink;
    const fs::file_status status = fs::status(pszPath, ecStatus);
    const bool bLink = fs::is_symlink(fs::symlink_status(pszPath, ecStatus));
    const fs::path target = bLink ? fs::canonical(pszPath, ecLink) : fs::path(pszPath);
    // A device, a folder or a link that leads nowhere is written in place: renaming over it would replace it.
    if ((fs::exists(status) && !fs::is_regular_file(status)) || ecLink) {
        m_strTarget = pszPath;
        m_file.Open(pszPath, CFile::modeCreate | CFile::modeWrite);
        return;
    }
    m_strTarget = target.string();
    m_temporary.emplace(m_strTarget);
    m_file.Open(*m_temporary, CFile::modeCreate | CFile::modeWrite);
}

CFileReplacement::~CFileReplacement() {
    if (!m_bCommitted && m_temporary)
        ::unlink(*m_temporary);
}

void CFileReplacement::Commit() {
    m_file.Close();
    if (m_temporary && std::rename(*m_temporary, m_strTarget) != 0)
        ThrowFromErrno(errno, m_strTarget);
    m_bCommitted = true;
}

bool CFileReplacement::CommitIfFree() {
    m_file.Close();
    m_bCommitted = !m_temporary || NameIfFree(m_temporary->Get(), m_strTarget);
    return m_bCommitted;
}

void WriteFileReplacing(const char* pszPath, const void* pData, size_t nCount) {
    CFileReplacement file(pszPath);
    file.Write(pData, nCount);
    file.Commit();
}

// Not through CFileReplacement, which follows a link at the path and writes a folder in place: here anything
// at the path keeps it. The temporary file never stays behind.
bool WriteFileNew(const char* pszPath, const void* pData, size_t nCount) {
    const CString strTarget(pszPath);
    const CTemporaryFileName temporary(strTarget);
    try {
        CFile file(temporary, CFile::modeCreate | CFile::modeWrite);
        file.Write(pData, nCount);
        file.Close();
        if (NameIfFree(temporary.Get(), strTarget))
            return true;
    } catch (...) {
        ::unlink(temporary);
        throw;
    }
    ::unlink(temporary);
    return false;
}
