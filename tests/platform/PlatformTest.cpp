// The MFC stand-in as the module leans on it: CString, exception messages, files and worker threads.
#include "platform/PlatformTestSupport.h"

#include "platform/File.h"
#include "platform/Thread.h"

#include <functional>
#include <future>

namespace {

std::string Repeat(const std::string& strUnit, size_t nTimes) {
    std::string str;
    while (nTimes--)
        str += strUnit;
    return str;
}

// What a call left in the string, and after '|' what it returned.
std::string Did(const CString& str, int nReturned) {
    return str.Str() + "|" + std::to_string(nReturned);
}

TEST(CStringTest, CallsGiveTheTextExpected) {
    const std::string strLong(1000, 'x');
    const struct {
        const char* pszText;
        std::function<std::string(CString&)> call;
        std::string strExpected;
    } aCases[] = {
        {"Totals",
         [](CString& s) {
             s.Format("[%s].[%s](%d)%%", CString("dbo"), s, 50);
             return s.Str();
         },
         "[dbo].[Totals](50)%"},
        {"old",
         [](CString& s) {
             s.Format("<%s|%5d|%-3s>", CString(std::string(5000, 'a') + "Итог"), 42, "ж");
             return s.Str();
         },
         "<" + std::string(5000, 'a') + "Итог|   42|ж >"},
        {strLong.c_str(),
         [](CString& s) {
             s.AppendFormat("|%s|%s", s, s);
             return s.Str();
         },
         strLong + "|" + strLong + "|" + strLong},
        {"[a]].[b]", [](CString& s) { return Did(s, s.Replace("]", "]]")); }, "[a]]]].[b]]|3"},
        {"O'Brien's", [](CString& s) { return Did(s, s.Replace("'", "''")); }, "O''Brien''s|2"},
        {"aaa", [](CString& s) { return Did(s, s.Replace("aa", "b")); }, "ba|1"},
        {"Таблица", [](CString& s) { return Did(s, s.Replace("блиц", "")); }, "Таа|1"},
        {"keep", [](CString& s) { return Did(s, s.Replace("", "y")); }, "keep|0"},
        {"a\tb\tc", [](CString& s) { return Did(s, s.Replace('\t', ' ')); }, "a b c|2"},
        {"a b c", [](CString& s) { return Did(s, s.Remove(' ')); }, "abc|2"},
        {" \t\r\nSELECT 1\r\n \t", [](CString& s) { return s.TrimLeft().Str(); }, "SELECT 1\r\n \t"},
        {" \t\r\nSELECT 1\r\n \t", [](CString& s) { return s.TrimRight().Str(); }, " \t\r\nSELECT 1"},
        {" \r\n ", [](CString& s) { return s.Trim().Str(); }, ""},
        {"[[name]]", [](CString& s) { return s.Trim("[]").Str(); }, "name"},
        {"xxnamexx", [](CString& s) { return s.TrimRight("x").Str(); }, "xxname"},
        {"dbo.Totals", [](CString& s) { return s.Left(50).Str() + s.Left(-1).Str() + s.Right(6).Str(); },
         "dbo.TotalsTotals"},
        {"dbo.Totals",
         [](CString& s) { return s.Mid(4).Str() + s.Mid(4, 3).Str() + s.Mid(8, 10).Str() + s.Mid(20).Str(); },
         "TotalsTotls"},
        {"a/b/c",
         [](CString& s) { return Did(s, s.Find('/') * 100 + s.Find("b/", 2) * 10 + s.ReverseFind('/')); },
         "a/b/c|123"},
        {"NVARCHAR",
         [](CString& s) {
             return Did(s, s.CompareNoCase("nvarchar") * 10 + (s.CompareNoCase("NVARCHARS") < 0));
         },
         "NVARCHAR|1"},
    };
    for (const auto& c : aCases) {
        CString str(c.pszText);
        EXPECT_EQ(c.call(str), c.strExpected) << c.pszText;
    }
}

// A message cut for a buffer of 256 keeps at most 255 characters, or bytes, and never half of one.
TEST(CExceptionTest, ErrorMessageIsCutWithoutBreakingUtf8) {
    const struct {
        std::string strMessage;
        std::string strCharsCut; // GetErrorMessage(CString&, 256)
        size_t nBufferBytes;     // GetErrorMessage(char[256], 256)
    } aCases[] = {
        {std::string(300, 'e'), std::string(255, 'e'), 255},   {Repeat("ж", 300), Repeat("ж", 255), 254},
        {Repeat("数", 300), Repeat("数", 255), 255},           {Repeat("😀", 300), Repeat("😀", 255), 252},
        {"a" + Repeat("ж", 300), "a" + Repeat("ж", 254), 255}, {"short", "short", 5},
    };
    for (const auto& c : aCases) {
        const CDBException e("HY000", 0, c.strMessage);
        CString str;
        EXPECT_TRUE(e.GetErrorMessage(str, 256));
        EXPECT_EQ(str.Str(), c.strCharsCut);
        char szBuffer[256];
        UINT nHelp = 7;
        EXPECT_TRUE(e.GetErrorMessage(szBuffer, 256, &nHelp));
        EXPECT_EQ(nHelp, 0u);
        EXPECT_EQ(std::string(szBuffer), c.strMessage.substr(0, c.nBufferBytes));
    }
}

TEST(CFileTest, WritesExactlyTheBytesOrThrowsNamingTheFile) {
    CTempDir dir;
    const std::string strPath = dir.File("a/b/Tables.sql");
    EXPECT_TRUE(CreateFullPath(dir.File("a/b").c_str()));
    EXPECT_TRUE(CreateFullPath(dir.File("a/b").c_str())) << "an existing folder is fine";
    WriteWholeFile(strPath, std::string(100, 'o'));
    const std::string strText("CREATE TABLE [dbo].[Итог]\r\n\tGO\r\n\0end", 38);
    CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write(strText.data(), strText.size());
    file.Close();
    EXPECT_EQ(ReadWholeFile(strPath), strText) << "an older, longer file is replaced";
    EXPECT_FALSE(CreateFullPath((strPath + "/sub").c_str()));
    EXPECT_FALSE(IsFileExist(dir.File("a/c").c_str()));

    const std::string strMissing = dir.File("no-such-folder/Tables.sql");
    const auto eOpen =
        CatchAs<CFileException>([&] { CFile(strMissing.c_str(), CFile::modeCreate | CFile::modeWrite); });
    ASSERT_NE(eOpen, nullptr);
    EXPECT_EQ(eOpen->m_cause, CFileException::fileNotFound);
    EXPECT_EQ(eOpen->GetErrorText().Str(), strMissing + ": No such file or directory");
    CFile full("/dev/full", CFile::modeWrite);
    const auto eWrite = CatchAs<CFileException>([&] { full.Write("text", 4); });
    ASSERT_NE(eWrite, nullptr);
    EXPECT_EQ(eWrite->m_cause, CFileException::diskFull);
    EXPECT_EQ(eWrite->GetErrorText().Str(), "/dev/full: No space left on device");
}

// A worker that runs until released and then ends with the exit code it was given.
struct TWorker {
    explicit TWorker(UINT nExitCode) : m_nExitCode(nExitCode) {}
    static UINT Run(LPVOID pParam) {
        auto* pWorker = static_cast<TWorker*>(pParam);
        pWorker->m_started.set_value();
        pWorker->m_release.get_future().wait();
        return pWorker->m_nExitCode;
    }
    UINT m_nExitCode;
    std::promise<void> m_started;
    std::promise<void> m_release;
};

// As the parallel export keeps its workers: started suspended, kept after they end, waited for in turn.
TEST(CThreadTest, WaitForAnyReturnsTheOneThatEnded) {
    TWorker aWorkers[3] = {TWorker(10), TWorker(11), TWorker(12)};
    std::unique_ptr<CWinThread> apThreads[3];
    HANDLE ahThreads[3] = {};
    DWORD dwExitCode = 0;
    for (int i = 0; i < 3; ++i) {
        apThreads[i].reset(
            AfxBeginThread(TWorker::Run, &aWorkers[i], THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
        ASSERT_NE(apThreads[i], nullptr);
        apThreads[i]->m_bAutoDelete = FALSE;
        ahThreads[i] = apThreads[i]->m_hThread;
        EXPECT_TRUE(GetExitCodeThread(ahThreads[i], &dwExitCode));
        EXPECT_EQ(dwExitCode, STILL_ACTIVE) << "suspended";
        EXPECT_EQ(apThreads[i]->ResumeThread(), 1u);
        aWorkers[i].m_started.get_future().wait();
        EXPECT_TRUE(GetExitCodeThread(ahThreads[i], &dwExitCode));
        EXPECT_EQ(dwExitCode, STILL_ACTIVE) << "running";
    }
    EXPECT_EQ(WaitForMultipleObjects(3, ahThreads, FALSE, 0), WAIT_TIMEOUT);
    aWorkers[2].m_release.set_value();
    EXPECT_EQ(WaitForMultipleObjects(3, ahThreads, FALSE, INFINITE), WAIT_OBJECT_0 + 2);
    aWorkers[1].m_release.set_value();
    EXPECT_EQ(WaitForMultipleObjects(2, ahThreads, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForSingleObject(ahThreads[0], 0), WAIT_TIMEOUT);
    aWorkers[0].m_release.set_value();
    EXPECT_EQ(WaitForSingleObject(ahThreads[0], INFINITE), WAIT_OBJECT_0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(GetExitCodeThread(ahThreads[i], &dwExitCode));
        EXPECT_EQ(dwExitCode, 10u + i);
    }
}

} // namespace
