// The replace question asked on a terminal: the host runs under script(1), which gives it a pseudo-terminal.
#include "platform/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// Runs "sqlscripts export" on a terminal, typing strAnswer; returns everything the terminal showed.
std::string ExportOnTerminal(const std::string& strDir, const std::string& strAnswer) {
    const std::string strCommand = "printf '" + strAnswer +
                                   "\\n' | script -qec \"" SQLSCRIPTS_BINARY
                                   " export --snapshot " SCRIPTS_FIXTURES_DIR
                                   "/tiny/snapshot.json --only pk,views --dir " +
                                   strDir + "\" /dev/null";
    std::FILE* pPipe = ::popen(strCommand.c_str(), "r");
    if (!pPipe)
        return std::string();
    std::string strScreen;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pPipe)) > 0;)
        strScreen.append(buffer, n);
    ::pclose(pPipe);
    return strScreen;
}

class TerminalQuestionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v script >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "script(1) is not installed";
        std::filesystem::create_directories(m_dir.File("out"));
        WriteWholeFile(m_dir.File("out/PK.sql"), "old");
        WriteWholeFile(m_dir.File("out/Views.sql"), "old");
    }
    CTempDir m_dir;
};

TEST_F(TerminalQuestionTest, ShowsTheFileAndTheFourAnswers) {
    const std::string strScreen = ExportOnTerminal(m_dir.File("out"), "3");
    EXPECT_NE(strScreen.find("Подтверждение замены файлов"), std::string::npos) << strScreen;
    EXPECT_NE(strScreen.find("Папка уже содержит файл PK.sql"), std::string::npos) << strScreen;
    EXPECT_NE(strScreen.find("[1] Да  [2] Да для всех  [3] Нет  [4] Отмена"), std::string::npos) << strScreen;
    EXPECT_EQ(ReadWholeFile(m_dir.File("out/PK.sql")), "old");
    EXPECT_EQ(ReadWholeFile(m_dir.File("out/Views.sql")), "old");
}

TEST_F(TerminalQuestionTest, YesToAllOverwritesWithoutAskingAgain) {
    const std::string strScreen = ExportOnTerminal(m_dir.File("out"), "2");
    EXPECT_EQ(strScreen.find("Views.sql"), std::string::npos) << strScreen;
    EXPECT_EQ(ReadWholeFile(m_dir.File("out/PK.sql")),
              ReadWholeFile(SCRIPTS_FIXTURES_DIR "/tiny/expected/PK.sql"));
    EXPECT_EQ(ReadWholeFile(m_dir.File("out/Views.sql")),
              ReadWholeFile(SCRIPTS_FIXTURES_DIR "/tiny/expected/Views.sql"));
}

TEST_F(TerminalQuestionTest, NoValidAnswerBeforeTheInputEndsOverwritesNothing) {
    ExportOnTerminal(m_dir.File("out"), "");
    EXPECT_EQ(ReadWholeFile(m_dir.File("out/PK.sql")), "old");
}

} // namespace
