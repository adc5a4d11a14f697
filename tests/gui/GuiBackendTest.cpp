// The dialogs as real windows under a private X server: what the templates put on screen, and the user's
// clicks reaching the dialogs' logic and coming back to the screen.
#include "XvfbServer.h"

#include "export/DlgCreateScript.h"
#include "export/DlgReplaceFile.h"
#include "gui/GuiUiBackend.h"
#include "gui/TemplateWindow.h"
#include "backend/Database.h"
#include "scripts/ScriptUnloader.h"

#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/thread.h>

#include <thread>

namespace {

// One X server and one backend for the whole run; the toolkit cannot be started twice in a process.
class CGuiEnvironment : public testing::Environment {
public:
    void SetUp() override {
        const std::string strProgram = CXvfbServer::Find();
        if (strProgram.empty()) {
            s_strSkip = "Xvfb is not installed (Debian package xvfb); the window tests are skipped";
            return;
        }
        const std::string strDisplay = m_server.Start(strProgram);
        ASSERT_FALSE(strDisplay.empty()) << "Xvfb did not start";
        ::setenv("DISPLAY", strDisplay.c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        CString strError;
        s_pBackend = CGuiUiBackend::Create("sqlscripts", strError).release();
        ASSERT_NE(s_pBackend, nullptr) << strError.Str();
    }
    void TearDown() override {
        delete s_pBackend;
        s_pBackend = nullptr;
        m_server.Stop();
    }

    static CGuiUiBackend* s_pBackend;
    static std::string s_strSkip;

private:
    CXvfbServer m_server;
};

CGuiUiBackend* CGuiEnvironment::s_pBackend = nullptr;
std::string CGuiEnvironment::s_strSkip;

class GuiBackendTest : public testing::Test {
protected:
    void SetUp() override {
        if (!CGuiEnvironment::s_strSkip.empty())
            GTEST_SKIP() << CGuiEnvironment::s_strSkip;
        ASSERT_NE(CGuiEnvironment::s_pBackend, nullptr);
        AfxSetUiBackend(CGuiEnvironment::s_pBackend);
    }
    void TearDown() override {
        if (CGuiEnvironment::s_pBackend)
            CGuiEnvironment::s_pBackend->SetShownHook(nullptr);
        AfxSetUiBackend(nullptr);
    }

    // pfnUser plays the user on the toolkit's thread once the window is up; a window it leaves open is
    // closed with its close box.
    static void OnShown(std::function<void(CTemplateWindow&)> pfnUser) {
        CGuiEnvironment::s_pBackend->SetShownHook([pfnUser](CTemplateWindow& window) {
            pfnUser(window);
            if (window.IsModal())
                window.Close();
        });
    }

    static void Click(CTemplateWindow& window, int nID) {
        wxWindow* pButton = window.GetWidget(nID);
        wxCommandEvent event(wxEVT_BUTTON, pButton->GetId());
        event.SetEventObject(pButton);
        pButton->GetEventHandler()->ProcessEvent(event);
    }

    static void Check(CTemplateWindow& window, int nID, bool bChecked) {
        auto* pBox = static_cast<wxCheckBox*>(window.GetWidget(nID));
        pBox->SetValue(bChecked);
        wxCommandEvent event(wxEVT_CHECKBOX, pBox->GetId());
        event.SetEventObject(pBox);
        event.SetInt(bChecked ? 1 : 0);
        pBox->GetEventHandler()->ProcessEvent(event);
    }

    static wxString Utf8(const char* psz) { return wxString::FromUTF8(psz ? psz : ""); }

    // The widget's text as the user reads it.
    static wxString ShownText(wxWindow& widget) {
        if (auto* pEdit = dynamic_cast<wxTextCtrl*>(&widget))
            return pEdit->GetValue();
        if (auto* pStatic = dynamic_cast<wxStaticText*>(&widget))
            return pStatic->GetLabelText();
        return widget.GetLabel();
    }

    static bool IsOfKind(wxWindow& widget, EControlKind eKind) {
        switch (eKind) {
        case EControlKind::PushButton:
        case EControlKind::DefPushButton:
            return dynamic_cast<wxButton*>(&widget) != nullptr;
        case EControlKind::AutoCheckBox:
            return dynamic_cast<wxCheckBox*>(&widget) != nullptr;
        case EControlKind::Edit:
            return dynamic_cast<wxTextCtrl*>(&widget) != nullptr;
        case EControlKind::Static:
            return dynamic_cast<wxStaticText*>(&widget) != nullptr;
        case EControlKind::Frame:
            return dynamic_cast<wxStaticBox*>(&widget) != nullptr;
        }
        return false;
    }

    // Caption, kinds, texts and rectangles as the template has them: each control where its dialog-unit
    // position falls on the window's client area, scaled alike in every control.
    static void ExpectTemplateLayout(CTemplateWindow& window, const std::map<int, wxString>& mapTexts) {
        const TDialogTemplate& dialog = *window.GetDialog().GetDialogTemplate();
        EXPECT_EQ(window.GetTitle(), Utf8(dialog.pszCaption));
        const wxSize client = window.GetClientSize();
        const double dScaleX = static_cast<double>(client.x) / dialog.cx;
        const double dScaleY = static_cast<double>(client.y) / dialog.cy;
        EXPECT_GT(dScaleX, 1.0);
        EXPECT_GT(dScaleY, 1.0);
        ASSERT_EQ(window.GetWidgets().size(), dialog.aControls.size());
        // The tab order is the order of the window's children.
        std::vector<wxWindow*> aChildren(window.GetChildren().begin(), window.GetChildren().end());
        EXPECT_EQ(aChildren, window.GetWidgets());
        for (size_t i = 0; i < dialog.aControls.size(); ++i) {
            const TControlTemplate& control = dialog.aControls[i];
            wxWindow& widget = *window.GetWidgets()[i];
            SCOPED_TRACE(testing::Message() << "control " << i << " id " << control.nID);
            EXPECT_TRUE(IsOfKind(widget, control.eKind));
            const auto it = mapTexts.find(control.nID);
            EXPECT_EQ(ShownText(widget), it != mapTexts.end() ? it->second : Utf8(control.pszText));
            const wxRect rect = widget.GetRect();
            EXPECT_NEAR(rect.x, control.x * dScaleX, 2.5);
            EXPECT_NEAR(rect.width, control.cx * dScaleX, 2.5);
            if (control.bCentreVertically) {
                EXPECT_GE(rect.y, control.y * dScaleY - 2.5);
                EXPECT_LE(rect.GetBottom(), (control.y + control.cy) * dScaleY + 2.5);
                continue;
            }
            EXPECT_NEAR(rect.y, control.y * dScaleY, 2.5);
            EXPECT_NEAR(rect.height, control.cy * dScaleY, 2.5);
        }
    }

    static const std::map<int, wxString>& OptionsTexts() {
        static const std::map<int, wxString> mapTexts = {
            {1010, "/srv/out"},   {1018, "Defaults.sql"}, {1019, "Udt.sql"},        {1012, "Tables.sql"},
            {1017, "PK.sql"},     {1022, "FK.sql"},       {1091, "FullText.sql"},   {1093, "Schemas.sql"},
            {1013, "Views.sql"},  {1014, "Triggers.sql"}, {1015, "StoredProc.sql"}, {1016, "Indexes.sql"},
            {1021, "Checks.sql"}, {1026, "Udf.sql"}};
        return mapTexts;
    }
};

constexpr int kFileEdits[] = {1018, 1019, 1012, 1017, 1022, 1091, 1093, 1013, 1014, 1015, 1016, 1021, 1026};
constexpr int IDC_YES = 23014;
constexpr int IDC_YES_TO_ALL = 23013;
constexpr int IDC_NO = 23010;

} // namespace

TEST_F(GuiBackendTest, OptionsDialogOpensAsItsTemplateSays) {
    CDatabase db;
    CScriptUnloader unloader(db, nullptr, "/srv/out");
    bool bShown = false;
    OnShown([&](CTemplateWindow& window) {
        bShown = true;
        EXPECT_TRUE(wxThread::IsMain());
        ExpectTemplateLayout(window, OptionsTexts());
        EXPECT_FALSE(window.HasFlag(wxSTAY_ON_TOP));
        EXPECT_EQ(window.GetDefaultItem(), window.GetWidget(IDOK));
        for (wxWindow* pWidget : window.GetWidgets())
            EXPECT_TRUE(pWidget->IsEnabled()) << pWidget->GetLabel();
        for (const int nBox : {1002, 1000, 1025, 1076})
            EXPECT_TRUE(static_cast<wxCheckBox*>(window.GetWidget(nBox))->GetValue()) << nBox;
        long nFrom = -1;
        long nTo = -1;
        static_cast<wxTextCtrl*>(window.GetWidget(1010))->GetSelection(&nFrom, &nTo);
        EXPECT_EQ(nFrom, 0);
        EXPECT_EQ(nTo, 8);
    });
    EXPECT_FALSE(unloader.GetScriptDataFromDlg());
    EXPECT_TRUE(bShown);
}

TEST_F(GuiBackendTest, OptionsDialogFollowsTheUsersClicks) {
    CDatabase db;
    CScriptUnloader unloader(db, nullptr, "/srv/out");
    OnShown([](CTemplateWindow& window) {
        Click(window, 1031); // "Ничего"
        EXPECT_FALSE(window.GetWidget(IDOK)->IsEnabled());
        for (const int nEdit : kFileEdits)
            EXPECT_FALSE(window.GetWidget(nEdit)->IsEnabled()) << nEdit;
        EXPECT_FALSE(static_cast<wxCheckBox*>(window.GetWidget(1000))->GetValue());

        Check(window, 1000, true); // "Tables"
        EXPECT_TRUE(window.GetWidget(1012)->IsEnabled());
        EXPECT_TRUE(window.GetWidget(IDOK)->IsEnabled());

        static_cast<wxTextCtrl*>(window.GetWidget(1012))->SetValue("t.sql"); // typed
        static_cast<wxTextCtrl*>(window.GetWidget(1010))->SetValue("");
        EXPECT_FALSE(window.GetWidget(IDOK)->IsEnabled());
        Click(window, IDCANCEL);
        EXPECT_FALSE(window.IsModal());
    });
    EXPECT_FALSE(unloader.GetScriptDataFromDlg());
    EXPECT_EQ(unloader.m_strPath, "");
    EXPECT_EQ(unloader.m_aFiles[2].bEnabled, 1);
    EXPECT_EQ(unloader.m_aFiles[2].strFile, "t.sql");
    EXPECT_EQ(unloader.m_aFiles[0].bEnabled, 0);
}

TEST_F(GuiBackendTest, ReplaceDialogOpensOnTopAsItsTemplateSays) {
    OnShown([](CTemplateWindow& window) {
        ExpectTemplateLayout(window, {{23012, Utf8("Папка уже содержит файл Tables.sql")}});
        EXPECT_TRUE(window.HasFlag(wxSTAY_ON_TOP));
        EXPECT_EQ(window.GetDefaultItem(), nullptr);
        for (wxWindow* pWidget : window.GetWidgets())
            EXPECT_TRUE(pWidget->IsEnabled()) << pWidget->GetLabel();
        // Left to right: "Да", "Да для всех", "Нет", "Отмена".
        EXPECT_LT(window.GetWidget(IDC_YES)->GetRect().GetRight(),
                  window.GetWidget(IDC_YES_TO_ALL)->GetRect().x);
        EXPECT_LT(window.GetWidget(IDC_YES_TO_ALL)->GetRect().GetRight(),
                  window.GetWidget(IDC_NO)->GetRect().x);
        EXPECT_LT(window.GetWidget(IDC_NO)->GetRect().GetRight(), window.GetWidget(IDCANCEL)->GetRect().x);
    });
    CDlgReplaceFile dlg;
    dlg.m_strFileName = "Tables.sql";
    dlg.DoModal();
}

TEST_F(GuiBackendTest, ReplaceDialogAnswersSetTheirFlag) {
    struct {
        const char* pszAnswer;
        int nButton; // 0: the close box
        INT_PTR nResult;
        bool bYes, bYesToAll, bNo;
    } const aCases[] = {
        {"Да", IDC_YES, IDOK, true, false, false},
        {"Да для всех", IDC_YES_TO_ALL, IDOK, false, true, false},
        {"Нет", IDC_NO, IDOK, false, false, true},
        {"Отмена", IDCANCEL, IDCANCEL, false, false, false},
        {"close box", 0, IDCANCEL, false, false, false},
    };
    for (const auto& test : aCases) {
        SCOPED_TRACE(test.pszAnswer);
        OnShown([&](CTemplateWindow& window) {
            if (test.nButton)
                Click(window, test.nButton);
            else
                window.Close();
            EXPECT_FALSE(window.IsModal());
        });
        CDlgReplaceFile dlg;
        dlg.m_strFileName = "PK.sql";
        EXPECT_EQ(dlg.DoModal(), test.nResult);
        EXPECT_EQ(dlg.m_bYes, test.bYes);
        EXPECT_EQ(dlg.m_bYesToAll, test.bYesToAll);
        EXPECT_EQ(dlg.m_bNo, test.bNo);
    }
}

TEST_F(GuiBackendTest, ReplaceQuestionOfAWorkerThreadIsAnsweredOnTheToolkitsThread) {
    OnShown([](CTemplateWindow& window) {
        EXPECT_TRUE(wxThread::IsMain());
        Click(window, IDC_YES_TO_ALL);
    });
    CDlgReplaceFile dlg(CWnd::GetDesktopWindow());
    dlg.m_strFileName = "Views.sql";
    std::thread worker([&dlg] { dlg.DoModal(); });
    worker.join();
    EXPECT_TRUE(dlg.m_bYesToAll);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new CGuiEnvironment);
    return RUN_ALL_TESTS();
}
