// The options dialog played on the headless backend: what it shows on opening and how it keeps OK, the
// file name edits and the unloader in step with the user's actions.
#include "ExportTestSupport.h"

#include "export/BrowserEdit.h"
#include "export/DlgCreateScript.h"

#include <gtest/gtest.h>

namespace {

constexpr int IDC_PATH = 1010;
constexpr int IDC_BROWSE = 1047;
constexpr int IDC_NO_COLLATION = 1076;
constexpr int IDC_ALL = 1030;
constexpr int IDC_NONE = 1031;

// Check box and file name edit of each category, in category order, as the template places them.
constexpr int kBoxes[] = {1002, 1005, 1000, 1003, 1032, 1090, 1092, 1001, 1006, 1007, 1004, 1008, 1025};
constexpr int kEdits[] = {1018, 1019, 1012, 1017, 1022, 1091, 1093, 1013, 1014, 1015, 1016, 1021, 1026};

class DlgCreateScriptTest : public testing::Test {
protected:
    void SetUp() override { AfxSetUiBackend(&m_ui); }
    void TearDown() override { AfxSetUiBackend(nullptr); }

    // Shows the dialog of an unloader on strPath, played by pfnUser; the result of GetScriptDataFromDlg.
    BOOL Run(const char* pszPath, std::function<void(CDialog&)> pfnUser) {
        m_pUnloader = std::make_unique<CScriptUnloader>(m_db, nullptr, pszPath);
        m_ui.SetDialogDriver(std::move(pfnUser));
        return m_pUnloader->GetScriptDataFromDlg();
    }

    static bool Enabled(const CDialog& dlg, int nID) {
        return dlg.GetDlgItem(nID)->IsWindowEnabled() != FALSE;
    }
    static std::string Text(const CDialog& dlg, int nID) { return dlg.GetDlgItem(nID)->GetText().Str(); }

    CDatabase m_db;
    CHeadlessUiBackend m_ui;
    std::unique_ptr<CScriptUnloader> m_pUnloader;
};

} // namespace

TEST_F(DlgCreateScriptTest, OpensWithEveryCategoryDefaultNamesAndTheConstructorsFolderSelected) {
    struct {
        const char* pszPath;
        bool bOk;
    } const aCases[] = {{"/srv/out", true}, {"", false}};
    for (const auto& test : aCases) {
        SCOPED_TRACE(test.pszPath);
        bool bSeen = false;
        Run(test.pszPath, [&](CDialog& dlg) {
            bSeen = true;
            for (size_t i = 0; i < std::size(kBoxes); ++i) {
                EXPECT_EQ(dlg.IsDlgButtonChecked(kBoxes[i]), BST_CHECKED) << kBoxes[i];
                EXPECT_EQ(Text(dlg, kEdits[i]), DefaultFileNames()[i]);
                EXPECT_TRUE(Enabled(dlg, kEdits[i])) << kEdits[i];
            }
            EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_NO_COLLATION), BST_CHECKED);
            const CWnd* pPath = dlg.GetDlgItem(IDC_PATH);
            EXPECT_EQ(pPath->GetText(), test.pszPath);
            EXPECT_EQ(pPath->GetSelStart(), 0);
            EXPECT_EQ(pPath->GetSelEnd(), pPath->GetText().GetLength());
            EXPECT_EQ(Enabled(dlg, IDOK), test.bOk);
        });
        EXPECT_TRUE(bSeen);
    }
}

TEST_F(DlgCreateScriptTest, OpeningOverwritesWhatTheUnloaderHeldExceptTheFolder) {
    CScriptUnloader unloader(m_db, nullptr, "/srv/out");
    unloader.m_aFiles[4].strFile = "Keys.sql";
    unloader.m_bNoCollation = 0;
    m_ui.SetDialogDriver([](CDialog& dlg) { dlg.ClickButton(IDOK); });
    EXPECT_TRUE(unloader.GetScriptDataFromDlg());
    EXPECT_EQ(unloader.m_strPath, "/srv/out");
    EXPECT_EQ(unloader.m_bNoCollation, 1);
    for (size_t i = 0; i < std::size(kBoxes); ++i) {
        EXPECT_EQ(unloader.m_aFiles[i].bEnabled, 1);
        EXPECT_EQ(unloader.m_aFiles[i].strFile, DefaultFileNames()[i].c_str());
    }
}

TEST_F(DlgCreateScriptTest, NothingDisablesEveryEditAndOkAndOneBoxBringsBackItsEditAndOk) {
    for (size_t nChosen = 0; nChosen < std::size(kBoxes); ++nChosen) {
        SCOPED_TRACE(kBoxes[nChosen]);
        Run("/srv/out", [&](CDialog& dlg) {
            dlg.ClickButton(IDC_NONE);
            for (const int nEdit : kEdits)
                EXPECT_FALSE(Enabled(dlg, nEdit)) << nEdit;
            EXPECT_FALSE(Enabled(dlg, IDOK));
            dlg.UserCheck(kBoxes[nChosen], true);
            for (size_t i = 0; i < std::size(kEdits); ++i)
                EXPECT_EQ(Enabled(dlg, kEdits[i]), i == nChosen) << kEdits[i];
            EXPECT_TRUE(Enabled(dlg, IDOK));
            dlg.ClickButton(IDOK);
        });
        for (size_t i = 0; i < std::size(kBoxes); ++i)
            EXPECT_EQ(m_pUnloader->m_aFiles[i].bEnabled, i == nChosen ? 1 : 0);
    }
}

TEST_F(DlgCreateScriptTest, OkNeedsANameForEveryCheckedCategoryAndAFolder) {
    struct {
        const char* pszCase;
        std::function<void(CDialog&)> pfnAct;
        bool bOk;
    } const aCases[] = {
        {"checked Tables without a name", [](CDialog& dlg) { dlg.UserType(1012, ""); }, false},
        {"checked Udf without a name", [](CDialog& dlg) { dlg.UserType(1026, ""); }, false},
        {"unchecked Tables without a name",
         [](CDialog& dlg) {
             dlg.UserCheck(1000, false);
             dlg.UserType(1012, "");
         },
         true},
        {"name cleared, then its box unchecked",
         [](CDialog& dlg) {
             dlg.UserType(1017, "");
             dlg.UserCheck(1003, false);
         },
         true},
        {"name cleared and typed again",
         [](CDialog& dlg) {
             dlg.UserType(1017, "");
             dlg.UserType(1017, "keys.sql");
         },
         true},
        {"folder cleared", [](CDialog& dlg) { dlg.UserType(IDC_PATH, ""); }, false},
    };
    for (const auto& test : aCases) {
        SCOPED_TRACE(test.pszCase);
        bool bOk = !test.bOk;
        Run("/srv/out", [&](CDialog& dlg) {
            test.pfnAct(dlg);
            bOk = Enabled(dlg, IDOK);
        });
        EXPECT_EQ(bOk, test.bOk);
    }
}

TEST_F(DlgCreateScriptTest, AllRechecksEveryCategoryButKeepsTheNames) {
    Run("/srv/out", [](CDialog& dlg) {
        dlg.UserType(1012, "");
        dlg.UserType(1013, "v.sql");
        dlg.UserCheck(IDC_NO_COLLATION, false);
        dlg.ClickButton(IDC_NONE);
        dlg.ClickButton(IDC_ALL);
        for (const int nBox : kBoxes)
            EXPECT_EQ(dlg.IsDlgButtonChecked(nBox), BST_CHECKED) << nBox;
        for (const int nEdit : kEdits)
            EXPECT_TRUE(Enabled(dlg, nEdit)) << nEdit;
        EXPECT_EQ(Text(dlg, 1012), "");
        EXPECT_EQ(Text(dlg, 1013), "v.sql");
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_NO_COLLATION), BST_UNCHECKED);
        EXPECT_EQ(Text(dlg, IDC_PATH), "/srv/out");
        EXPECT_FALSE(Enabled(dlg, IDOK));
        dlg.UserType(1012, "t.sql");
        EXPECT_TRUE(Enabled(dlg, IDOK));
    });
}

TEST_F(DlgCreateScriptTest, BrowsingReplacesAndSelectsTheFolderOnlyWhenOneIsChosen) {
    struct {
        const char* pszChosen; // null: the browser is cancelled
        const char* pszFolder;
    } const aCases[] = {{nullptr, "/srv/out"}, {"/home/me/scripts", "/home/me/scripts"}};
    for (const auto& test : aCases) {
        SCOPED_TRACE(test.pszFolder);
        std::string strOffered;
        m_ui.SetFolderChooser([&](CString& strFolder) {
            strOffered = strFolder.Str();
            if (test.pszChosen)
                strFolder = test.pszChosen;
            return test.pszChosen != nullptr;
        });
        Run("/srv/out", [&](CDialog& dlg) {
            dlg.GetDlgItem(IDC_PATH)->SendMessage(EM_SETSEL, 3, 3);
            dlg.ClickButton(IDC_BROWSE);
            const CWnd* pPath = dlg.GetDlgItem(IDC_PATH);
            EXPECT_EQ(pPath->GetText(), test.pszFolder);
            const bool bSelectedAll =
                pPath->GetSelStart() == 0 && pPath->GetSelEnd() == pPath->GetText().GetLength();
            EXPECT_EQ(bSelectedAll, test.pszChosen != nullptr);
        });
        EXPECT_EQ(strOffered, "/srv/out");
        EXPECT_EQ(m_pUnloader->m_strPath, test.pszFolder);
    }
}

TEST_F(DlgCreateScriptTest, UnloaderHoldsTheEditedValuesAfterOkAndAfterCancel) {
    for (const int nButton : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(nButton);
        const BOOL bResult = Run("/srv/out", [&](CDialog& dlg) {
            dlg.UserCheck(IDC_NO_COLLATION, false);
            dlg.UserType(IDC_PATH, "/srv/other");
            dlg.UserCheck(1005, false);
            dlg.UserType(1014, "trg.sql");
            dlg.ClickButton(nButton);
        });
        EXPECT_EQ(bResult, nButton == IDOK ? TRUE : FALSE);
        EXPECT_EQ(m_pUnloader->m_bNoCollation, 0);
        EXPECT_EQ(m_pUnloader->m_strPath, "/srv/other");
        EXPECT_EQ(m_pUnloader->m_aFiles[1].bEnabled, 0);
        EXPECT_EQ(m_pUnloader->m_aFiles[1].strFile, "Udt.sql");
        EXPECT_EQ(m_pUnloader->m_aFiles[8].strFile, "trg.sql");
    }
}

TEST_F(DlgCreateScriptTest, ClosedWithoutAnswerReturnsFalse) {
    EXPECT_FALSE(Run("/srv/out", [](CDialog&) {}));
    EXPECT_EQ(m_pUnloader->m_aFiles[0].bEnabled, 1);
}

TEST_F(DlgCreateScriptTest, PathEditIsTheDialogsBrowserEditTiedToTheBrowseButton) {
    CBrowserEdit* pEdit = nullptr;
    CDlgCreateScript dlg;
    CScriptUnloader unloader(m_db, nullptr, "/srv/out");
    dlg.m_pUnloader = &unloader;
    m_ui.SetDialogDriver(
        [&](CDialog& shown) { pEdit = dynamic_cast<CBrowserEdit*>(shown.GetDlgItem(IDC_PATH)); });
    dlg.DoModal();
    ASSERT_EQ(pEdit, &dlg.m_edtPath);
    EXPECT_EQ(pEdit->GetDialog(), &dlg);
    EXPECT_EQ(pEdit->GetButtonId(), static_cast<UINT>(IDC_BROWSE));
    EXPECT_TRUE(pEdit->CompletesFolders());
}

TEST(BrowserEditTest, CompletesFoldersInsideTheTypedFolder) {
    CTempDir dir;
    for (const char* pszFolder : {"out", "other", ".hidden", "zeta"})
        std::filesystem::create_directory(dir.File(pszFolder));
    WriteWholeFile(dir.File("outfile"), "");
    const std::string strRoot = dir.File("");
    struct {
        std::string strTyped;
        std::vector<std::string> aExpected;
    } const aCases[] = {
        {strRoot + "o", {strRoot + "other/", strRoot + "out/"}},
        {strRoot + "ou", {strRoot + "out/"}},
        {strRoot, {strRoot + "other/", strRoot + "out/", strRoot + "zeta/"}},
        {strRoot + ".", {strRoot + ".hidden/"}},
        {strRoot + "x", {}},
        {strRoot + "missing/o", {}},
    };
    for (const auto& test : aCases) {
        SCOPED_TRACE(test.strTyped);
        std::vector<std::string> aFound;
        for (const CString& strFolder : CBrowserEdit::GetFolderCompletions(test.strTyped.c_str()))
            aFound.push_back(strFolder.Str());
        EXPECT_EQ(aFound, test.aExpected);
    }
}

TEST_F(DlgCreateScriptTest, EscapeClosesAsCancelAndKeepsTheEditedValues) {
    const BOOL bResult = Run("/srv/out", [](CDialog& dlg) {
        dlg.ClickButton(IDC_NONE);
        dlg.UserCancel();
        EXPECT_FALSE(dlg.IsModalRunning());
    });
    EXPECT_FALSE(bResult);
    EXPECT_EQ(m_pUnloader->m_aFiles[12].bEnabled, 0);
}
