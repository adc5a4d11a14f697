// CFile, the path helpers and worker threads.
#include "platform/PlatformTestSupport.h"

#include "platform/File.h"
#include "platform/Thread.h"

#include <gtest/gtest.h>

#include <future>

namespace {

TEST(CFileTest, WritesExactlyTheGivenBytes) {
    CTempDir dir;
    const std::string strPath = dir.File("Tables.sql");
    WriteWholeFile(strPath, std::string(100, 'o'));
    const std::string strText("CREATE TABLE [dbo].[Итог]\r\n\tGO\r\n\0end", 38);
    CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write(strText.data(), strText.size());
    file.Close();
    EXPECT_EQ(ReadWholeFile(strPath), strText) << "an older, longer file is replaced";

    CFile empty;
    empty.Open(strPath.c_str(), 0x1001);
    empty.Close();
    EXPECT_EQ(ReadWholeFile(strPath), "");
}

TEST(CFileTest, UnwritablePathThrowsFileException) {
    CTempDir dir;
    const std::string strMissing = dir.File("no-such-folder/Tables.sql");
    const auto eOpen = CatchAs<CFileException>(
        [&] { CFile file(strMissing.c_str(), CFile::modeCreate | CFile::modeWrite); });
    ASSERT_NE(eOpen, nullptr);
    EXPECT_EQ(eOpen->m_cause, CFileException::fileNotFound);
    EXPECT_EQ(eOpen->m_strFileName.Str(), strMissing);

    CFile full("/dev/full", CFile::modeWrite);
    const auto eWrite = CatchAs<CFileException>([&] { full.Write("text", 4); });
    ASSERT_NE(eWrite, nullptr);
    EXPECT_EQ(eWrite->m_cause, CFileException::diskFull);
    EXPECT_EQ(eWrite->GetErrorText().Str(), "/dev/full: No space left on device");
}

TEST(CFileTest, PathHelpers) {
    CTempDir dir;
    const std::string strFolder = dir.File("a/b/c");
    EXPECT_FALSE(IsFileExist(strFolder.c_str()));
    EXPECT_TRUE(CreateFullPath(strFolder.c_str()));
    EXPECT_TRUE(IsFileExist(strFolder.c_str()));
    EXPECT_TRUE(CreateFullPath(strFolder.c_str())) << "an existing folder is fine";
    WriteWholeFile(dir.File("file"), "x");
    EXPECT_TRUE(IsFileExist(dir.File("file").c_str()));
    EXPECT_FALSE(CreateFullPath(dir.File("file").c_str()));
    EXPECT_FALSE(CreateFullPath(dir.File("file/sub").c_str()));
    EXPECT_FALSE(IsFileExist(""));
    EXPECT_FALSE(CreateFullPath(""));
}

// A worker that runs until released and then ends with the exit code it was given.
struct TWorker {
    explicit TWorker(DWORD dwExitCode) : m_dwExitCode(dwExitCode) {}
    static UINT Run(LPVOID pParam) {
        auto* pWorker = static_cast<TWorker*>(pParam);
        pWorker->m_started.set_value();
        pWorker->m_release.get_future().wait();
        return pWorker->m_dwExitCode;
    }
    DWORD m_dwExitCode;
    std::promise<void> m_started;
    std::promise<void> m_release;
};

CWinThread* StartKept(TWorker& worker) {
    CWinThread* pThread = AfxBeginThread(TWorker::Run, &worker, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!pThread)
        return nullptr;
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    return pThread;
}

TEST(CThreadTest, ExitCodeIsStillActiveWhileRunning) {
    TWorker worker(7);
    std::future<void> started = worker.m_started.get_future();
    CWinThread* pThread = AfxBeginThread(TWorker::Run, &worker, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    DWORD dwExitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(pThread->m_hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, 259u) << "suspended";

    EXPECT_EQ(pThread->ResumeThread(), 1u);
    started.wait();
    EXPECT_TRUE(GetExitCodeThread(pThread->m_hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(pThread->m_hThread, 0), WAIT_TIMEOUT);

    worker.m_release.set_value();
    EXPECT_EQ(WaitForSingleObject(pThread->m_hThread, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(pThread->m_hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, 7u);
    delete pThread;
}

TEST(CThreadTest, WaitForAnyReturnsTheOneThatEnded) {
    TWorker aWorkers[3] = {TWorker(0), TWorker(1), TWorker(2)};
    CWinThread* apThreads[3] = {};
    HANDLE ahThreads[3] = {};
    for (int i = 0; i < 3; ++i) {
        apThreads[i] = StartKept(aWorkers[i]);
        ASSERT_NE(apThreads[i], nullptr);
        ahThreads[i] = apThreads[i]->m_hThread;
    }
    EXPECT_EQ(WaitForMultipleObjects(3, ahThreads, FALSE, 0), WAIT_TIMEOUT);

    aWorkers[2].m_release.set_value();
    EXPECT_EQ(WaitForMultipleObjects(3, ahThreads, FALSE, INFINITE), WAIT_OBJECT_0 + 2);
    aWorkers[1].m_release.set_value();
    EXPECT_EQ(WaitForMultipleObjects(2, ahThreads, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, ahThreads, TRUE, 0), WAIT_TIMEOUT) << "the first still runs";

    aWorkers[0].m_release.set_value();
    EXPECT_EQ(WaitForMultipleObjects(3, ahThreads, TRUE, INFINITE), WAIT_OBJECT_0);
    for (int i = 0; i < 3; ++i) {
        DWORD dwExitCode = STILL_ACTIVE;
        EXPECT_TRUE(GetExitCodeThread(ahThreads[i], &dwExitCode));
        EXPECT_EQ(dwExitCode, static_cast<DWORD>(i));
        delete apThreads[i];
    }
}

TEST(CThreadTest, AutoDeletedThreadLeavesADuplicatedHandleUsable) {
    TWorker worker(3);
    CWinThread* pThread = AfxBeginThread(TWorker::Run, &worker, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    const HANDLE hThread = DuplicateThreadHandle(pThread->m_hThread);
    pThread->ResumeThread();
    worker.m_release.set_value();
    EXPECT_EQ(WaitForSingleObject(hThread, INFINITE), WAIT_OBJECT_0);
    DWORD dwExitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, 3u);
    EXPECT_TRUE(CloseHandle(hThread));
}

} // namespace
