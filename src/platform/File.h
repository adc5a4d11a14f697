// CFile: a binary file written through a POSIX descriptor; errors throw CFileException*.
#pragma once

#include "platform/String.h"

#include <mutex>
#include <shared_mutex>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
    };

    CFile() = default;
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    ~CFile();

    void Open(LPCTSTR lpszFileName, UINT nOpenFlags);
    void Write(const void* lpBuf, size_t nCount);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
    CString m_strFileName;
    std::shared_lock<std::shared_mutex> m_writing; // while open for writing: see AfxHoldFileWrites
};

// Waits until no file is open for writing and keeps any from being opened for writing from then on, so that
// a host may end the process at once without leaving a file half-written.
void AfxHoldFileWrites();

// Nonzero when a file (or folder) exists at the path.
int IsFileExist(const char* path);
// Makes sure the folder exists, creating missing folders along the path; zero on failure.
int CreateFullPath(const char* path);
