#include "platform/Thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

struct CThreadHandleData {
    int nRefs = 1;
    bool bEnded = false;
    DWORD dwExitCode = STILL_ACTIVE;
};

namespace {

// One lock and one signal for all thread ends: waits are rare and short-lived, never a hot path.
// Both are never destroyed, since a worker may still be finishing while the process exits.
std::mutex& HandleMutex() {
    static auto* pMutex = new std::mutex;
    return *pMutex;
}

std::condition_variable& EndedSignal() {
    static auto* pSignal = new std::condition_variable;
    return *pSignal;
}

bool IsSignalled(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD& dwResult) {
    DWORD nEnded = 0;
    for (DWORD i = 0; i < nCount; ++i) {
        if (!lpHandles[i]->bEnded)
            continue;
        if (!bWaitAll) {
            dwResult = WAIT_OBJECT_0 + i;
            return true;
        }
        ++nEnded;
    }
    dwResult = WAIT_OBJECT_0;
    return bWaitAll && nEnded == nCount;
}

std::atomic<int> g_nRunning{0};
std::atomic<int> g_nPeakRunning{0};

void CountThreadStart() {
    const int nRunning = ++g_nRunning;
    int nPeak = g_nPeakRunning.load();
    while (nRunning > nPeak && !g_nPeakRunning.compare_exchange_weak(nPeak, nRunning)) {
    }
}

} // namespace

int GetPeakRunningThreads() {
    return g_nPeakRunning.load();
}
void ResetPeakRunningThreads() {
    g_nPeakRunning.store(g_nRunning.load());
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_hThread(new CThreadHandleData), m_pfnThreadProc(pfnThreadProc), m_pParam(pParam) {}

CWinThread::~CWinThread() {
    CloseHandle(m_hThread);
}

void CWinThread::Run() {
    const HANDLE hThread = DuplicateThreadHandle(m_hThread);
    CountThreadStart();
    const DWORD dwExitCode = m_pfnThreadProc(m_pParam);
    --g_nRunning;
    if (m_bAutoDelete)
        delete this;
    {
        std::lock_guard lock(HandleMutex());
        hThread->dwExitCode = dwExitCode;
        hThread->bEnded = true;
    }
    EndedSignal().notify_all();
    CloseHandle(hThread);
}

DWORD CWinThread::ResumeThread() {
    if (!m_bSuspended)
        return 0;
    m_bSuspended = false;
    std::thread([this] { Run(); }).detach();
    return 1;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int, UINT, DWORD dwCreateFlags,
                           void*) {
    auto* pThread = new CWinThread(pfnThreadProc, pParam);
    pThread->m_bSuspended = true;
    if (dwCreateFlags & CREATE_SUSPENDED)
        return pThread;
    try {
        pThread->ResumeThread();
    } catch (const std::system_error&) {
        delete pThread;
        return nullptr;
    }
    return pThread;
}

BOOL GetExitCodeThread(HANDLE hThread, DWORD* lpExitCode) {
    if (!hThread || !lpExitCode)
        return FALSE;
    std::lock_guard lock(HandleMutex());
    *lpExitCode = hThread->dwExitCode;
    return TRUE;
}

HANDLE DuplicateThreadHandle(HANDLE hThread) {
    std::lock_guard lock(HandleMutex());
    ++hThread->nRefs;
    return hThread;
}

BOOL CloseHandle(HANDLE hThread) {
    if (!hThread)
        return FALSE;
    std::lock_guard lock(HandleMutex());
    if (--hThread->nRefs == 0)
        delete hThread;
    return TRUE;
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds) {
    if (nCount == 0 || !lpHandles)
        return WAIT_FAILED;
    DWORD dwResult = WAIT_FAILED;
    std::unique_lock lock(HandleMutex());
    const auto ready = [&] { return IsSignalled(nCount, lpHandles, bWaitAll, dwResult); };
    if (dwMilliseconds == INFINITE) {
        EndedSignal().wait(lock, ready);
        return dwResult;
    }
    return EndedSignal().wait_for(lock, std::chrono::milliseconds(dwMilliseconds), ready) ? dwResult
                                                                                          : WAIT_TIMEOUT;
}

DWORD WaitForSingleObject(HANDLE hThread, DWORD dwMilliseconds) {
    return WaitForMultipleObjects(1, &hThread, TRUE, dwMilliseconds);
}
