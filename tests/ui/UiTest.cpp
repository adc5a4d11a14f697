#include "ui/Ui.h"

#include <gtest/gtest.h>

namespace {

class UiTest : public testing::Test {
protected:
    void SetUp() override {
        AfxSetUiBackend(nullptr);
        AfxGetHeadlessUiBackend().ClearMessages();
        AfxGetHeadlessUiBackend().SetMessageBoxAnswer(0);
    }
    void TearDown() override { AfxSetUiBackend(nullptr); }
};

} // namespace

TEST_F(UiTest, HeadlessBackendIsTheDefaultAndKeepsMessages) {
    EXPECT_EQ(AfxGetUiBackend(), &AfxGetHeadlessUiBackend());
    EXPECT_EQ(AfxMessageBox("Первое"), IDOK);
    EXPECT_EQ(AfxMessageBox("Второе?", MB_YESNO | MB_ICONQUESTION), IDYES);

    const std::vector<TUiMessage> aMessages = AfxGetHeadlessUiBackend().GetMessages();
    ASSERT_EQ(aMessages.size(), 2u);
    EXPECT_EQ(aMessages[0].strText, "Первое");
    EXPECT_EQ(aMessages[0].nType, MB_OK);
    EXPECT_EQ(aMessages[1].strText, "Второе?");
    EXPECT_EQ(aMessages[1].nType, MB_YESNO | MB_ICONQUESTION);
}

TEST_F(UiTest, HeadlessBackendAnswersWithPresetButton) {
    AfxGetHeadlessUiBackend().SetMessageBoxAnswer(IDNO);
    EXPECT_EQ(AfxMessageBox("Заменить?", MB_YESNO), IDNO);
}

TEST_F(UiTest, ResourceIdShowsTheString) {
    AfxMessageBox(28007);
    const std::vector<TUiMessage> aMessages = AfxGetHeadlessUiBackend().GetMessages();
    ASSERT_EQ(aMessages.size(), 1u);
    EXPECT_EQ(aMessages[0].strText, "Ошибка выгрузки в файл");
}

TEST_F(UiTest, HostChosenBackendReceivesMessages) {
    CHeadlessUiBackend backend;
    AfxSetUiBackend(&backend);
    AfxMessageBox("host");
    EXPECT_EQ(backend.GetMessages().size(), 1u);
    EXPECT_TRUE(AfxGetHeadlessUiBackend().GetMessages().empty());
}

TEST_F(UiTest, TerminalBackendWritesOneLineToStderr) {
    CTerminalUiBackend backend;
    AfxSetUiBackend(&backend);
    testing::internal::CaptureStderr();
    const int nAnswer = AfxMessageBox("Неопознанная ошибка");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Неопознанная ошибка\n");
    EXPECT_EQ(nAnswer, IDOK);
}
