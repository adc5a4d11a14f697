// The MFC stand-in as the module leans on it: CString, exception messages, files and worker threads.
#include "platform/PlatformTestSupport.h"

#include "platform/File.h"
#include "platform/Thread.h"

#include <future>

namespace {

std::string Repeat(const std::string& strUnit, size_t nTimes) {
    std::string str;
    while (nTimes--)
        str += strUnit;
    return str;
}

// The calls the module makes: Replace as names are escaped (every occurrence, left to right, never
// rescanning what was put in), the path and name helpers, and Format with CString arguments, the string
// itself among them, and output longer than any first guess.
TEST(CStringTest, CallsTheModuleMakes) {
    const struct {
        const char *pszText, *pszOld, *pszNew, *pszResult;
        int nCount;
    } aReplaces[] = {{"[a]].[b]", "]", "]]", "[a]]]].[b]]", 3},
                     {"O'Brien's", "'", "''", "O''Brien''s", 2},
                     {"aaa", "aa", "b", "ba", 1},
                     {"Таблица", "блиц", "", "Таа", 1},
                     {"keep", "", "y", "keep", 0}};
    for (const auto& c : aReplaces) {
        CString str(c.pszText);
        EXPECT_EQ(str.Replace(c.pszOld, c.pszNew), c.nCount) << c.pszText;
        EXPECT_EQ(str.Str(), c.pszResult);
    }
    const CString strPath("out/dbo/Totals.sql");
    EXPECT_EQ(strPath.Mid(strPath.ReverseFind('/') + 1), "Totals.sql");
    EXPECT_EQ(strPath.Mid(40), "");
    EXPECT_EQ(strPath.Left(strPath.GetLength() - 1), "out/dbo/Totals.sq");
    EXPECT_EQ(strPath.Find('\''), -1);
    EXPECT_EQ(CString("NVARCHAR").CompareNoCase("nvarchar"), 0);
    EXPECT_LT(CString("int").CompareNoCase("INTEGER"), 0);

    CString str("Totals");
    str.Format("[%s].[%s](%d)%%|%5d|%-3s|", CString("dbo"), str, 50, 42, "ж");
    EXPECT_EQ(str.Str(), "[dbo].[Totals](50)%|   42|ж |");
    const std::string strLong = std::string(5000, 'a') + "Итог";
    str = strLong.c_str();
    str.AppendFormat("|%s|%s", str, str);
    EXPECT_EQ(str.Str(), strLong + "|" + strLong + "|" + strLong);
}

// A script error's message is cut to 255 characters, never half of one.
TEST(CExceptionTest, ErrorMessageIsCutWithoutBreakingUtf8) {
    const std::pair<std::string, std::string> aCases[] = {{std::string(300, 'e'), std::string(255, 'e')},
                                                          {Repeat("ж", 300), Repeat("ж", 255)},
                                                          {Repeat("😀", 300), Repeat("😀", 255)},
                                                          {"a" + Repeat("数", 300), "a" + Repeat("数", 254)},
                                                          {"short", "short"}};
    for (const auto& [strMessage, strCut] : aCases) {
        CString str;
        EXPECT_TRUE(CDBException("HY000", 0, strMessage).GetErrorMessage(str, 256));
        EXPECT_EQ(str.Str(), strCut);
    }
}

// Folders are made along the path; the bytes written are the file, an older one replaced; a full device
// is an error, not a short file.
TEST(CFileTest, WritesExactlyTheBytesOrThrows) {
    CTempDir dir;
    EXPECT_TRUE(CreateFullPath(dir.File("a/b").c_str()));
    const std::string strPath = dir.File("a/b/Tables.sql");
    WriteWholeFile(strPath, std::string(100, 'o'));
    const std::string strText("CREATE TABLE [dbo].[Итог]\r\n\tGO\r\n\0end", 38);
    CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write(strText.data(), strText.size());
    file.Close();
    EXPECT_EQ(ReadWholeFile(strPath), strText);
    CFile full("/dev/full", CFile::modeWrite);
    EXPECT_NE(CatchAs<CFileException>([&] { full.Write("text", 4); }), nullptr);
}

// A worker that runs until released and then ends with the exit code it was given.
struct TWorker {
    static UINT Run(LPVOID pParam) {
        auto* pWorker = static_cast<TWorker*>(pParam);
        pWorker->m_release.get_future().wait();
        return pWorker->m_nExitCode;
    }
    UINT m_nExitCode = 0;
    std::promise<void> m_release;
};

// As the parallel export keeps its workers: started suspended, kept after they end, running until they
// end, and waited for until any of them does.
TEST(CThreadTest, WorkersRunUntilTheyEnd) {
    TWorker aWorkers[2];
    std::unique_ptr<CWinThread> apThreads[2];
    HANDLE ahThreads[2] = {};
    for (int i = 0; i < 2; ++i) {
        aWorkers[i].m_nExitCode = 10u + i;
        apThreads[i].reset(
            AfxBeginThread(TWorker::Run, &aWorkers[i], THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
        apThreads[i]->m_bAutoDelete = FALSE;
        apThreads[i]->ResumeThread();
        ahThreads[i] = apThreads[i]->m_hThread;
    }
    aWorkers[1].m_release.set_value();
    EXPECT_EQ(WaitForMultipleObjects(2, ahThreads, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
    DWORD adwExitCodes[2] = {};
    EXPECT_TRUE(GetExitCodeThread(ahThreads[0], &adwExitCodes[0]) &&
                GetExitCodeThread(ahThreads[1], &adwExitCodes[1]));
    EXPECT_EQ(adwExitCodes[0], STILL_ACTIVE);
    EXPECT_EQ(adwExitCodes[1], 11u);
    aWorkers[0].m_release.set_value();
    EXPECT_EQ(WaitForSingleObject(ahThreads[0], INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(ahThreads[0], &adwExitCodes[0]));
    EXPECT_EQ(adwExitCodes[0], 10u);
}

} // namespace
