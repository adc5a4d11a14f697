#include "platform/File.h"

#include "platform/Exceptions.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
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

std::shared_mutex& WriteGate() {
    static std::shared_mutex gate;
    return gate;
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
    if (nOpenFlags & (modeWrite | modeReadWrite))
        m_writing = std::shared_lock(WriteGate());
    m_fd = ::open(lpszFileName, nFlags, 0666);
    if (m_fd < 0) {
        const int nErrno = errno;
        m_writing = {};
        ThrowFromErrno(nErrno, m_strFileName);
    }
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
    const int nResult = ::close(fd);
    const int nErrno = errno;
    m_writing = {};
    if (nResult != 0)
        ThrowFromErrno(nErrno, m_strFileName);
}

void AfxHoldFileWrites() {
    WriteGate().lock();
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
