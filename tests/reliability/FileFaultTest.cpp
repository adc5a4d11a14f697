// Output that cannot be written: read-only places, a full device, missing folders, refused overwrites.
#include "export/ExportTestSupport.h"

#include <functional>

namespace {

constexpr int YES = 23014;
constexpr int NO = 23010;
constexpr int CANCEL = 2;

const char* const kFolderError = "Ошибка создания директории выгрузки";
const char* const kWriteError = "Ошибка выгрузки в файл";

enum class ERun { Sequential, Parallel };

class CFileFaultTest : public CExportTest, public testing::WithParamInterface<ERun> {
protected:
    void Run(CScriptUnloader& unloader) {
        if (GetParam() == ERun::Parallel)
            unloader.ExecScriptDataThreads();
        else
            unloader.ExecScriptData();
        EXPECT_EQ(GetPooledConnectionCount(), 0);
    }
};

// A folder that exists but takes no files (running as root, only a kernel file system refuses for sure):
// every category is reported once and the run reaches its end.
TEST_P(CFileFaultTest, AReadOnlyFolderReportsEachFile) {
    auto pUnloader = MakeUnloader(AllCategories(), "/proc/self");
    Run(*pUnloader);
    EXPECT_EQ(Messages(), std::vector<std::string>(13, kWriteError));
}

// Folders that cannot be created stop the run before any file, with one message.
TEST_P(CFileFaultTest, AFolderThatCannotBeCreatedStopsTheRun) {
    WriteWholeFile(m_dir.File("plain"), "x");
    for (const std::string& strFolder :
         {std::string("/proc/sqlscripts-test/out"), m_dir.File("plain"), m_dir.File("plain/out")}) {
        SCOPED_TRACE(strFolder);
        m_ui.ClearMessages();
        Run(*MakeUnloader(AllCategories(), strFolder));
        EXPECT_EQ(Messages(), std::vector<std::string>{kFolderError});
    }
    EXPECT_EQ(ReadWholeFile(m_dir.File("plain")), "x");
}

// One bad target among good ones: the device that is always full, a missing subfolder, a folder where
// the file should be. Each is reported once; every other category is written in full.
TEST_P(CFileFaultTest, OneUnwritableFileLeavesTheOthersIntact) {
    std::filesystem::create_directories(OutDir());
    std::filesystem::create_symlink("/dev/full", OutFile(7));
    std::filesystem::create_directories(OutFile(2));
    m_answers.Queue({YES, YES});
    auto pUnloader = MakeUnloader(AllCategories());
    pUnloader->m_aFiles[3].strFile = "missing/PK.sql";
    Run(*pUnloader);
    EXPECT_EQ(Messages(), std::vector<std::string>(3, kWriteError));
    EXPECT_EQ(m_answers.Questions().size(), 2u);
    EXPECT_TRUE(std::filesystem::is_directory(OutFile(2)));
    EXPECT_TRUE(std::filesystem::is_empty(OutFile(2)));
    EXPECT_FALSE(std::filesystem::exists(OutDir() + "/missing"));
    for (int nCategory : {0, 1, 4, 5, 6, 8, 9, 10, 11, 12})
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
}

// "Нет", "Отмена" and a dialog closed without an answer never touch the existing file.
TEST_P(CFileFaultTest, ARefusedOverwriteKeepsTheOldFile) {
    for (const std::deque<int>& aAnswers :
         {std::deque<int>{NO}, std::deque<int>{CANCEL}, std::deque<int>{}}) {
        SCOPED_TRACE(aAnswers.empty() ? 0 : aAnswers.front());
        std::filesystem::remove_all(OutDir());
        PlaceOldFiles({7});
        m_answers.Queue(aAnswers);
        Run(*MakeUnloader({7, 8}));
        EXPECT_EQ(ReadWholeFile(OutFile(7)), "old");
        EXPECT_FALSE(std::filesystem::exists(OutFile(8)));
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, CFileFaultTest, testing::Values(ERun::Sequential, ERun::Parallel),
                         [](const testing::TestParamInfo<ERun>& info) {
                             return info.param == ERun::Parallel ? "Parallel" : "Sequential";
                         });

} // namespace
