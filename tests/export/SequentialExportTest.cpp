#include "export/ExportTestSupport.h"

namespace {

constexpr int YES = 23014;
constexpr int YES_TO_ALL = 23013;
constexpr int NO = 23010;
constexpr int CANCEL = 2;

const char* const kFolderError = "Ошибка создания директории выгрузки";
const char* const kNoFileName = "Не указан файл выгрузки";
const char* const kWriteError = "Ошибка выгрузки в файл";

using CSequentialExportTest = CExportTest;

TEST_F(CSequentialExportTest, WritesEveryCategoryByteForByte) {
    MakeUnloader(AllCategories())->ExecScriptData();
    for (int nCategory = 0; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory)) << DefaultFileNames()[nCategory];
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

TEST_F(CSequentialExportTest, NoCategoryCreatesTheFolderOnly) {
    MakeUnloader({})->ExecScriptData();
    EXPECT_TRUE(std::filesystem::is_directory(OutDir()));
    EXPECT_TRUE(std::filesystem::is_empty(OutDir()));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CSequentialExportTest, OneTrailingSlashIsRemoved) {
    auto pOne = MakeUnloader({12}, OutDir() + "/");
    pOne->ExecScriptData();
    EXPECT_EQ(pOne->m_strPath.Str(), OutDir());
    auto pTwo = MakeUnloader({12}, OutDir() + "//");
    pOne.reset();
    std::filesystem::remove(OutFile(12));
    pTwo->ExecScriptData();
    EXPECT_EQ(pTwo->m_strPath.Str(), OutDir() + "/");
    EXPECT_EQ(ReadWholeFile(OutFile(12)), Expected(12));
}

TEST_F(CSequentialExportTest, ValidationStopsBeforeAnyFile) {
    CDatabase closed;
    CScriptUnloader noConnection(closed, nullptr, OutDir().c_str());
    noConnection.ExecScriptData();

    auto pNoFolder = MakeUnloader({0}, "");
    pNoFolder->m_strPath.Empty();
    pNoFolder->ExecScriptData();

    auto pUnnamed = MakeUnloader({0, 3, 7});
    pUnnamed->m_aFiles[3].strFile.Empty();
    pUnnamed->m_aFiles[7].strFile.Empty();
    pUnnamed->ExecScriptData();

    EXPECT_EQ(Messages(), (std::vector<std::string>{"Не корректное соединение с базой данных", kFolderError,
                                                    kNoFileName}));
    EXPECT_FALSE(std::filesystem::exists(OutFile(0)));
}

TEST_F(CSequentialExportTest, AFolderThatCannotBeCreatedIsReported) {
    WriteWholeFile(m_dir.File("plain-file"), "x");
    MakeUnloader({0}, m_dir.File("plain-file/out"))->ExecScriptData();
    EXPECT_EQ(Messages(), std::vector<std::string>{kFolderError});
}

TEST_F(CSequentialExportTest, AnUnwritableFileIsReportedAndTheRunGoesOn) {
    auto pUnloader = MakeUnloader({3, 7});
    pUnloader->m_aFiles[3].strFile = "missing/PK.sql";
    pUnloader->ExecScriptData();
    EXPECT_EQ(Messages(), std::vector<std::string>{kWriteError});
    EXPECT_EQ(ReadWholeFile(OutFile(7)), Expected(7));
}

TEST_F(CSequentialExportTest, YesOverwritesAndTheNextFileIsAskedAgain) {
    PlaceOldFiles({2, 3});
    m_answers.Queue({YES, YES});
    MakeUnloader({2, 3, 7})->ExecScriptData();
    EXPECT_EQ(m_answers.Questions(), (std::vector<std::string>{"Папка уже содержит файл Tables.sql",
                                                               "Папка уже содержит файл PK.sql"}));
    EXPECT_EQ(ReadWholeFile(OutFile(2)), Expected(2));
    EXPECT_EQ(ReadWholeFile(OutFile(3)), Expected(3));
}

TEST_F(CSequentialExportTest, YesToAllSilencesTheRestOfThisRunAndLaterRuns) {
    PlaceOldFiles(AllCategories());
    m_answers.Queue({YES_TO_ALL});
    auto pUnloader = MakeUnloader({3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    pUnloader->ExecScriptData();
    pUnloader->ExecScriptData();
    EXPECT_EQ(m_answers.Questions(), std::vector<std::string>{"Папка уже содержит файл PK.sql"});
    for (int nCategory = 3; nCategory < 13; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory));
}

TEST_F(CSequentialExportTest, NoStopsTheRunAndKeepsTheOldFile) {
    PlaceOldFiles({5});
    m_answers.Queue({NO});
    MakeUnloader(AllCategories())->ExecScriptData();
    for (int nCategory = 0; nCategory < 5; ++nCategory)
        EXPECT_EQ(ReadWholeFile(OutFile(nCategory)), Expected(nCategory));
    EXPECT_EQ(ReadWholeFile(OutFile(5)), "old");
    for (int nCategory = 6; nCategory < 13; ++nCategory)
        EXPECT_FALSE(std::filesystem::exists(OutFile(nCategory))) << nCategory;
    EXPECT_EQ(GetPooledConnectionCount(), 0);
}

TEST_F(CSequentialExportTest, CancelOrNoAnswerOverwritesNothingAndStops) {
    for (const std::deque<int>& aAnswers : {std::deque<int>{CANCEL}, std::deque<int>{}}) {
        std::filesystem::remove_all(OutDir());
        PlaceOldFiles({2});
        m_answers.Queue(aAnswers);
        MakeUnloader({2, 7})->ExecScriptData();
        EXPECT_EQ(ReadWholeFile(OutFile(2)), "old");
        EXPECT_FALSE(std::filesystem::exists(OutFile(7)));
    }
}

TEST_F(CSequentialExportTest, AnEmptyTextReplacesAnOldFileWithAnEmptyOne) {
    WriteWholeFile(m_dir.File("empty.json"),
                   R"({"format": "sqlscripts-catalog-snapshot", "version": 1, "statements": [
                        {"sql": "SELECT [name] FROM sys.schemas SCH WHERE SCH.[schema_id] > 4 AND SCH.[schema_id] < 16384",
                         "columns": [{"name": "name"}], "rows": []}]})");
    CDatabase db;
    db.OpenEx(("SNAPSHOT=" + m_dir.File("empty.json")).c_str(), CDatabase::noOdbcDialog);
    PlaceOldFiles({6});
    m_answers.Queue({YES});
    CScriptUnloader unloader(db, nullptr, OutDir().c_str());
    unloader.m_aFiles[6] = {1, "Schemas.sql"};
    unloader.ExecScriptData();
    EXPECT_TRUE(std::filesystem::exists(OutFile(6)));
    EXPECT_EQ(std::filesystem::file_size(OutFile(6)), 0u);
}

} // namespace
