// The dialogs as real windows under Xvfb (started by xvfb-run; one process, as the toolkit starts once):
// what the templates put on screen, and the user's clicks reaching the dialogs' logic and the screen.
#include "export/CategoryTable.h"
#include "export/DlgReplaceFile.h"
#include "gui/GuiUiBackend.h"
#include "gui/TemplateWindow.h"
#include "scripts/ScriptUnloader.h"

#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/thread.h>

#include <map>

namespace {

CGuiUiBackend* g_pBackend = nullptr;

// pfnUser plays the user on the toolkit's thread once the next window is up; then the close box shuts it.
void OnShown(std::function<void(CTemplateWindow&)> pfnUser) {
    g_pBackend->SetShownHook([pfnUser](CTemplateWindow& window) {
        pfnUser(window);
        if (window.IsModal())
            window.Close();
    });
}

// A click on a button or a check box (which then turns).
void Click(CTemplateWindow& window, int nID) {
    wxWindow* pWidget = window.GetWidget(nID);
    auto* pBox = dynamic_cast<wxCheckBox*>(pWidget);
    wxCommandEvent event(pBox ? wxEVT_CHECKBOX : wxEVT_BUTTON, pWidget->GetId());
    if (pBox) {
        pBox->SetValue(!pBox->GetValue());
        event.SetInt(pBox->GetValue());
    }
    event.SetEventObject(pWidget);
    pWidget->GetEventHandler()->ProcessEvent(event);
}

bool IsChecked(CTemplateWindow& window, int nID) {
    return static_cast<wxCheckBox*>(window.GetWidget(nID))->GetValue();
}

// The widget's text as the user reads it.
wxString ShownText(wxWindow& widget) {
    if (auto* pEdit = dynamic_cast<wxTextCtrl*>(&widget))
        return pEdit->GetValue();
    if (auto* pStatic = dynamic_cast<wxStaticText*>(&widget))
        return pStatic->GetLabelText();
    return widget.GetLabel();
}

// Caption, kinds, texts and rectangles as the template has them: each control where its dialog-unit
// position falls on the window's client area, scaled alike in every control; the tab order is the
// template's. Every control is enabled.
void ExpectTemplateLayout(CTemplateWindow& window, const std::map<int, wxString>& mapTexts) {
    const char* aszKinds[] = {"wxButton",   "wxButton",     "wxCheckBox",
                              "wxTextCtrl", "wxStaticText", "wxStaticBox"};
    const TDialogTemplate& dialog = *window.GetDialog().GetDialogTemplate();
    EXPECT_EQ(window.GetTitle(), wxString::FromUTF8(dialog.pszCaption));
    EXPECT_EQ(window.HasFlag(wxSTAY_ON_TOP), dialog.bTopmost);
    const double dScaleX = static_cast<double>(window.GetClientSize().x) / dialog.cx;
    const double dScaleY = static_cast<double>(window.GetClientSize().y) / dialog.cy;
    EXPECT_GT(dScaleX, 1.0);
    EXPECT_GT(dScaleY, 1.0);
    ASSERT_EQ(window.GetWidgets().size(), dialog.aControls.size());
    EXPECT_EQ(std::vector<wxWindow*>(window.GetChildren().begin(), window.GetChildren().end()),
              window.GetWidgets());
    for (size_t i = 0; i < dialog.aControls.size(); ++i) {
        const TControlTemplate& control = dialog.aControls[i];
        wxWindow& widget = *window.GetWidgets()[i];
        SCOPED_TRACE(testing::Message() << "control " << i << " id " << control.nID);
        EXPECT_TRUE(widget.IsKindOf(wxClassInfo::FindClass(aszKinds[static_cast<int>(control.eKind)])));
        EXPECT_TRUE(widget.IsEnabled());
        const auto it = mapTexts.find(control.nID);
        EXPECT_EQ(ShownText(widget), it != mapTexts.end() ? it->second : wxString::FromUTF8(control.pszText));
        const wxRect rect = widget.GetRect();
        EXPECT_NEAR(rect.x, control.x * dScaleX, 2.5);
        EXPECT_NEAR(rect.width, control.cx * dScaleX, 2.5);
        // A control centred vertically in its box may be shorter than the box.
        EXPECT_NEAR(rect.y + rect.height / 2.0, (control.y + control.cy / 2.0) * dScaleY, 2.5);
        EXPECT_NEAR(control.bCentreVertically ? std::max<double>(rect.height, control.cy * dScaleY)
                                              : rect.height,
                    control.cy * dScaleY, 2.5);
    }
}

} // namespace

TEST(GuiBackendTest, OptionsDialogOpensAsItsTemplateSaysAndFollowsTheUsersClicks) {
    CDatabase db;
    CScriptUnloader unloader(db, nullptr, "/srv/out");
    OnShown([&](CTemplateWindow& window) {
        std::map<int, wxString> mapTexts = {{1010, "/srv/out"}};
        for (const TCategory& category : g_aCategories)
            mapTexts[category.nFileEditId] = category.pszDefaultFile;
        ExpectTemplateLayout(window, mapTexts);
        EXPECT_EQ(window.GetDefaultItem(), window.GetWidget(IDOK));
        for (const int nBox : {1002, 1000, 1025, 1076})
            EXPECT_TRUE(IsChecked(window, nBox)) << nBox;
        long nFrom = -1;
        long nTo = -1;
        static_cast<wxTextCtrl*>(window.GetWidget(1010))->GetSelection(&nFrom, &nTo);
        EXPECT_EQ(nTo - nFrom, 8) << nFrom;

        Click(window, 1031); // "Ничего"
        EXPECT_FALSE(window.GetWidget(IDOK)->IsEnabled());
        EXPECT_FALSE(window.GetWidget(1012)->IsEnabled());
        EXPECT_FALSE(IsChecked(window, 1000));
        Click(window, 1000); // "Tables"
        EXPECT_TRUE(window.GetWidget(1012)->IsEnabled());
        EXPECT_TRUE(window.GetWidget(IDOK)->IsEnabled());
        static_cast<wxTextCtrl*>(window.GetWidget(1012))->SetValue("t.sql"); // typed
        static_cast<wxTextCtrl*>(window.GetWidget(1010))->SetValue("/srv/other");
        Click(window, IDCANCEL);
        EXPECT_FALSE(window.IsModal());
    });
    EXPECT_FALSE(unloader.GetScriptDataFromDlg());
    EXPECT_EQ(unloader.m_strPath, "/srv/other");
    EXPECT_EQ(unloader.m_aFiles[2].bEnabled, 1);
    EXPECT_EQ(unloader.m_aFiles[2].strFile, "t.sql");
    EXPECT_EQ(unloader.m_aFiles[0].bEnabled, 0);
}

// Asked from a thread other than the toolkit's (as the export's workers ask), owned by the desktop or by no
// window, the question is shown on the toolkit's thread.
TEST(GuiBackendTest, ReplaceDialogOpensOnTopAsItsTemplateSaysAndAnswersSetTheirFlag) {
    const struct {
        const char* pszAnswer;
        int nButton; // 0: the close box
        INT_PTR nResult;
        const char* pszFlags;
    } aCases[] = {{"Да", 23014, IDOK, "yes"},
                  {"Да для всех", 23013, IDOK, "all"},
                  {"Нет", 23010, IDOK, "no"},
                  {"Отмена", IDCANCEL, IDCANCEL, ""},
                  {"close box", 0, IDCANCEL, ""}};
    for (const auto& test : aCases) {
        SCOPED_TRACE(test.pszAnswer);
        OnShown([&](CTemplateWindow& window) {
            EXPECT_TRUE(wxThread::IsMain());
            ExpectTemplateLayout(window, {{23012, wxString::FromUTF8("Папка уже содержит файл PK.sql")}});
            EXPECT_TRUE(window.HasFlag(wxSTAY_ON_TOP));
            EXPECT_EQ(window.GetDefaultItem(), nullptr);
            test.nButton ? Click(window, test.nButton) : static_cast<void>(window.Close());
            EXPECT_FALSE(window.IsModal());
        });
        CDlgReplaceFile dlg(test.nButton == 23013 ? CWnd::GetDesktopWindow() : nullptr);
        dlg.m_strFileName = "PK.sql";
        EXPECT_EQ(dlg.DoModal(), test.nResult);
        EXPECT_EQ(std::string(dlg.m_bYes ? "yes" : "") + (dlg.m_bYesToAll ? "all" : "") +
                      (dlg.m_bNo ? "no" : ""),
                  test.pszFlags);
    }
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    CString strError;
    std::unique_ptr<CGuiUiBackend> pBackend = CGuiUiBackend::Create("sqlscripts", strError);
    if (!pBackend) {
        std::fprintf(stderr, "no display (run under xvfb-run): %s\n", strError.GetString());
        return 1;
    }
    g_pBackend = pBackend.get();
    AfxSetUiBackend(g_pBackend);
    const int nResult = RUN_ALL_TESTS();
    AfxSetUiBackend(nullptr);
    return nResult;
}
