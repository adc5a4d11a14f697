// CFile: a binary file written through a POSIX descriptor; errors throw CFileException*.
#pragma once

#include "platform/String.h"

#include <optional>
#include <string>
#include <vector>

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
};

// Nonzero when a file (or folder) exists at the path.
int IsFileExist(const char* path);
// Makes sure the folder exists, creating missing folders along the path; zero on failure.
int CreateFullPath(const char* path);
// The name a file is written under before it takes its own: ".<name>.<pid>-<n>.tmp" beside the path, hidden,
// unique in the process and carrying its id, so that a later run can tell the files of a process that is
// gone (RemoveStaleTemporaryFiles). RemoveTemporaryFiles knows it while the object lives.
class CTemporaryFileName {
public:
    explicit CTemporaryFileName(const CString& strBeside);
    CTemporaryFileName(const CTemporaryFileName&) = delete;
    CTemporaryFileName& operator=(const CTemporaryFileName&) = delete;
    ~CTemporaryFileName();

    const CString& Get() const { return m_strName; }
    operator LPCTSTR() const { return m_strName; }

private:
    CString m_strName;
};

// Folders made for the files of a run that may end early: while the object lives, RemoveTemporaryFiles
// removes those of them that it leaves empty.
class CProvisionalFolders {
public:
    // aFolders: deepest first.
    explicit CProvisionalFolders(std::vector<std::string> aFolders);
    CProvisionalFolders(const CProvisionalFolders&) = delete;
    CProvisionalFolders& operator=(const CProvisionalFolders&) = delete;
    ~CProvisionalFolders();

private:
    std::vector<std::string> m_aFolders;
};

// Removes every temporary file of the process that has no name of its own yet, and the provisional folders
// that leaves empty: for a program that ends without waiting for their writers. Safe from any thread.
void RemoveTemporaryFiles();
// Removes the temporary files that processes no longer running left in the folder and its subfolders
// (symbolic links are not followed); how many it removed.
size_t RemoveStaleTemporaryFiles(const char* pszFolder);
// The same for the temporary files of one path, beside it.
size_t RemoveStaleTemporaryFilesOf(const char* pszPath);

// A file written under a temporary name in its path's folder and renamed to the path by Commit, so the path
// holds either what it held before or all of the new bytes; without Commit the temporary file is removed. A
// symbolic link keeps leading to its file, which is replaced; a device or folder at the path is written in
// place, as CFile does. Throws CFileException* as CFile does.
class CFileReplacement {
public:
    explicit CFileReplacement(const char* pszPath);
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;
    ~CFileReplacement();

    void Write(const void* pData, size_t nCount) { m_file.Write(pData, nCount); }
    void Commit();
    // Commits only while nothing is at the path at the moment of naming, as WriteFileNew does; false, with
    // the file still to be committed or removed, when something took the path first.
    bool CommitIfFree();

private:
    CString m_strTarget;
    std::optional<CTemporaryFileName> m_temporary; // none when written in place
    CFile m_file;
    bool m_bCommitted = false;
};

// The bytes as the path's whole new content, through a CFileReplacement.
void WriteFileReplacing(const char* pszPath, const void* pData, size_t nCount);
// Writes the bytes as WriteFileReplacing does, but gives them the path only while nothing is there at the
// moment of naming: false, with nothing written, when a file, folder or link took the path first (another
// writer included). Throws CFileException* as CFile does.
bool WriteFileNew(const char* pszPath, const void* pData, size_t nCount);
