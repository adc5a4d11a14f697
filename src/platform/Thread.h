// Worker threads in the manner of AfxBeginThread/CWinThread, with Win32-style waitable handles.
#pragma once

#include "platform/AfxTypes.h"

struct CThreadHandleData;
typedef CThreadHandleData* HANDLE;
typedef UINT (*AFX_THREADPROC)(LPVOID);

constexpr DWORD STILL_ACTIVE = 259;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 0x102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD CREATE_SUSPENDED = 0x4;
constexpr int THREAD_PRIORITY_NORMAL = 0;

class CWinThread {
public:
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    virtual ~CWinThread();

    // Starts a thread created with CREATE_SUSPENDED; returns the previous suspend count.
    DWORD ResumeThread();

    HANDLE m_hThread = nullptr;
    BOOL m_bAutoDelete = TRUE; // delete this object when the thread procedure returns

private:
    friend CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD, void*);
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    void Run();

    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pParam;
    bool m_bSuspended = false;
};

// Null when the thread cannot be started.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, void* lpSecurityAttrs = nullptr);

BOOL GetExitCodeThread(HANDLE hThread, DWORD* lpExitCode);
// A further reference to a thread handle; each one is released with CloseHandle.
HANDLE DuplicateThreadHandle(HANDLE hThread);
BOOL CloseHandle(HANDLE hThread);
// WAIT_OBJECT_0 + index of an ended thread (bWaitAll: all ended), or WAIT_TIMEOUT.
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);
DWORD WaitForSingleObject(HANDLE hThread, DWORD dwMilliseconds);

// The most threads of AfxBeginThread that ran at one time since the last reset (for diagnostics).
int GetPeakRunningThreads();
void ResetPeakRunningThreads();
