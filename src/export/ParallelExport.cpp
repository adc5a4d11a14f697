// The parallel run: up to three workers, each claiming the next category under m_csThreads.
#include "scripts/ScriptUnloader.h"

#include "catalog/ConnectionContext.h"
#include "export/ScriptFiles.h"
#include "platform/File.h"
#include "platform/Thread.h"
#include "scripting/SQLScript.h"

#include <array>

namespace {

constexpr int WORKER_SLOTS = 3;

void ShowStringMessageLocked(UINT nID) {
    CString strText;
    strText.LoadString(nID);
    ShowScriptMessage(strText);
}

// A started worker, held until the driver has seen it end.
class CWorkerSlot {
public:
    CWorkerSlot() = default;
    CWorkerSlot(const CWorkerSlot&) = delete;
    CWorkerSlot& operator=(const CWorkerSlot&) = delete;
    ~CWorkerSlot() { Reset(); }

    bool IsEmpty() const { return m_pThread == nullptr; }
    HANDLE GetHandle() const { return m_pThread->m_hThread; }
    bool IsRunning() const {
        DWORD dwExitCode = 0;
        return m_pThread && GetExitCodeThread(m_pThread->m_hThread, &dwExitCode) &&
               dwExitCode == STILL_ACTIVE;
    }
    // Starts the thread suspended with automatic deletion off, so that its handle stays valid.
    bool Start(AFX_THREADPROC pfnThreadProc, void* pParam) {
        Reset();
        CWinThread* pThread =
            AfxBeginThread(pfnThreadProc, pParam, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
        if (!pThread)
            return false;
        pThread->m_bAutoDelete = FALSE;
        m_pThread.reset(pThread);
        m_pThread->ResumeThread();
        return true;
    }
    void Reset() {
        if (m_pThread)
            WaitForSingleObject(m_pThread->m_hThread, INFINITE);
        m_pThread.reset();
    }

private:
    std::unique_ptr<CWinThread> m_pThread;
};

void WaitForAnyWorker(const std::array<CWorkerSlot, WORKER_SLOTS>& aSlots) {
    std::vector<HANDLE> aHandles;
    for (const CWorkerSlot& slot : aSlots)
        if (!slot.IsEmpty())
            aHandles.push_back(slot.GetHandle());
    if (!aHandles.empty())
        WaitForMultipleObjects(static_cast<DWORD>(aHandles.size()), aHandles.data(), FALSE, INFINITE);
}

} // namespace

void CScriptUnloader::ExecScriptDataThreads() {
    if (!Check())
        return;
    SetConnectionContext(m_pDatabase, true, m_bPrefetch != 0);
    CDropPrefetchedRowsOnExit dropPrefetchedRows;
    // Started before any worker; each family is read once, by a helper or by the first worker to need it.
    if (!Prefetch()) {
        CloseAllConnections();
        return;
    }
    {
        std::array<CWorkerSlot, WORKER_SLOTS> aSlots;
        int nStarts = 0;
        const auto isStopped = [this] {
            CSingleLock lock(&m_csThreads, TRUE);
            return m_bStop != 0;
        };
        while (!isStopped() && nStarts < SQL_CATEGORY_COUNT) {
            for (CWorkerSlot& slot : aSlots) {
                if (isStopped() || nStarts >= SQL_CATEGORY_COUNT)
                    break;
                if (slot.IsRunning())
                    continue;
                ++nStarts;
                if (!slot.Start(ThreadFunction, this))
                    break;
            }
            WaitForAnyWorker(aSlots);
        }
    } // the slots wait for every worker still running
    CloseAllConnections();
}

UINT CScriptUnloader::ThreadFunction(void* pParam) {
    if (pParam)
        static_cast<CScriptUnloader*>(pParam)->ScriptsAllThread();
    return 0;
}

BOOL CScriptUnloader::ScriptsAllThread() {
    CSingleLock lock(&m_csThreads, TRUE);
    if (IsStopRequested())
        m_bStop = TRUE;
    if (m_nNextCategory >= SQL_CATEGORY_COUNT || m_bStop)
        return FALSE;
    const int nCategory = m_nNextCategory++;
    if (!m_aFiles[nCategory].bEnabled)
        return TRUE;
    const CString strPath = GetFilePath(nCategory);
    if (ShouldAskReplace(strPath)) {
        const TReplaceAnswer answer = AskReplaceFile(CWnd::GetDesktopWindow(), strPath);
        m_bStop = !answer.bReplace;
        if (m_bStop)
            return FALSE;
        m_bReplaceAll = answer.bReplaceAll;
    }
    lock.Unlock();
    return ProduceCategory(nCategory, strPath, ShowStringMessageLocked) ? TRUE : FALSE;
}
