// The options dialog played on the headless backend: what it shows on opening and how it keeps OK, the
// file name edits and the unloader in step with the user's actions.
#include "ExportTestSupport.h"

#include "export/BrowserEdit.h"
#include "export/DlgCreateScript.h"

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

    // Shows the dialog of the unloader on pszPath, played by user; the result of GetScriptDataFromDlg.
    BOOL Run(const char* pszPath, std::function<void(CDialog&)> user) {
        m_pUnloader = std::make_unique<CScriptUnloader>(m_db, nullptr, pszPath);
        m_pUnloader->m_aFiles[4].strFile = "Keys.sql";
        m_pUnloader->m_bNoCollation = 0;
        m_ui.SetDialogDriver(std::move(user));
        return m_pUnloader->GetScriptDataFromDlg();
    }

    static bool Enabled(const CDialog& dlg, int nID) {
        return dlg.GetDlgItem(nID)->IsWindowEnabled() != FALSE;
    }
    static std::string Text(const CDialog& dlg, int nID) { return dlg.GetDlgItem(nID)->GetText().Str(); }
    static bool AllSelected(const CDialog& dlg, int nID) {
        const CWnd* pEdit = dlg.GetDlgItem(nID);
        return pEdit->GetSelStart() == 0 && pEdit->GetSelEnd() == pEdit->GetText().GetLength();
    }

    CDatabase m_db;
    CHeadlessUiBackend m_ui;
    std::unique_ptr<CScriptUnloader> m_pUnloader;
};

TEST_F(DlgCreateScriptTest, OpensWithEveryCategoryDefaultNamesAndTheFolderSelected) {
    for (const char* pszPath : {"/srv/out", ""}) {
        SCOPED_TRACE(pszPath);
        Run(pszPath, [&](CDialog& dlg) {
            for (size_t i = 0; i < std::size(kBoxes); ++i) {
                EXPECT_EQ(dlg.IsDlgButtonChecked(kBoxes[i]), BST_CHECKED) << kBoxes[i];
                EXPECT_EQ(Text(dlg, kEdits[i]), DefaultFileNames()[i]);
                EXPECT_TRUE(Enabled(dlg, kEdits[i])) << kEdits[i];
            }
            EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_NO_COLLATION), BST_CHECKED);
            EXPECT_EQ(Text(dlg, IDC_PATH), pszPath);
            EXPECT_TRUE(AllSelected(dlg, IDC_PATH));
            EXPECT_EQ(Enabled(dlg, IDOK), *pszPath != '\0');
            dlg.ClickButton(IDOK);
        });
    }
    // What the unloader held before is replaced, all but the folder.
    EXPECT_EQ(m_pUnloader->m_bNoCollation, 1);
    EXPECT_EQ(m_pUnloader->m_aFiles[4].strFile, "FK.sql");
}

TEST_F(DlgCreateScriptTest, NothingDisablesEveryEditAndOkAndOneBoxBringsBackItsEditAndOk) {
    for (size_t nChosen = 0; nChosen < std::size(kBoxes); ++nChosen) {
        SCOPED_TRACE(kBoxes[nChosen]);
        EXPECT_TRUE(Run("/srv/out", [&](CDialog& dlg) {
            dlg.ClickButton(IDC_NONE);
            for (const int nEdit : kEdits)
                EXPECT_FALSE(Enabled(dlg, nEdit)) << nEdit;
            EXPECT_FALSE(Enabled(dlg, IDOK));
            dlg.UserCheck(kBoxes[nChosen], true);
            for (size_t i = 0; i < std::size(kEdits); ++i)
                EXPECT_EQ(Enabled(dlg, kEdits[i]), i == nChosen) << kEdits[i];
            EXPECT_TRUE(Enabled(dlg, IDOK));
            dlg.ClickButton(IDOK);
        }));
        for (size_t i = 0; i < std::size(kBoxes); ++i)
            EXPECT_EQ(m_pUnloader->m_aFiles[i].bEnabled, i == nChosen ? 1 : 0);
    }
}

TEST_F(DlgCreateScriptTest, OkNeedsANameForEveryCheckedCategoryAndAFolder) {
    struct TStep {
        int nId;
        const char* pszText; // typed into the edit; null: the box is unchecked
    };
    const struct {
        const char* pszCase;
        std::vector<TStep> aSteps;
        bool bOk;
    } aCases[] = {
        {"checked Tables without a name", {{1012, ""}}, false},
        {"checked Udf without a name", {{1026, ""}}, false},
        {"unchecked Tables without a name", {{1000, nullptr}, {1012, ""}}, true},
        {"name cleared, then its box unchecked", {{1017, ""}, {1003, nullptr}}, true},
        {"name cleared and typed again", {{1017, ""}, {1017, "keys.sql"}}, true},
        {"folder cleared", {{IDC_PATH, ""}}, false},
    };
    for (const auto& test : aCases) {
        SCOPED_TRACE(test.pszCase);
        Run("/srv/out", [&](CDialog& dlg) {
            for (const TStep& step : test.aSteps)
                step.pszText ? dlg.UserType(step.nId, step.pszText) : dlg.UserCheck(step.nId, false);
            EXPECT_EQ(Enabled(dlg, IDOK), test.bOk);
        });
    }
}

TEST_F(DlgCreateScriptTest, AllRechecksEveryCategoryButKeepsTheNames) {
    Run("/srv/out", [](CDialog& dlg) {
        dlg.UserType(1012, "");
        dlg.UserType(1013, "v.sql");
        dlg.UserCheck(IDC_NO_COLLATION, false);
        dlg.ClickButton(IDC_NONE);
        dlg.ClickButton(IDC_ALL);
        for (size_t i = 0; i < std::size(kBoxes); ++i) {
            EXPECT_EQ(dlg.IsDlgButtonChecked(kBoxes[i]), BST_CHECKED) << kBoxes[i];
            EXPECT_TRUE(Enabled(dlg, kEdits[i])) << kEdits[i];
        }
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
    for (const char* pszChosen : {static_cast<const char*>(nullptr), "/home/me/scripts"}) {
        const std::string strFolder = pszChosen ? pszChosen : "/srv/out";
        SCOPED_TRACE(strFolder);
        std::string strOffered;
        m_ui.SetFolderChooser([&](CString& strChooserFolder) {
            strOffered = strChooserFolder.Str();
            if (pszChosen)
                strChooserFolder = pszChosen;
            return pszChosen != nullptr;
        });
        Run("/srv/out", [&](CDialog& dlg) {
            dlg.GetDlgItem(IDC_PATH)->SendMessage(EM_SETSEL, 3, 3);
            dlg.ClickButton(IDC_BROWSE);
            EXPECT_EQ(Text(dlg, IDC_PATH), strFolder);
            EXPECT_EQ(AllSelected(dlg, IDC_PATH), pszChosen != nullptr);
        });
        EXPECT_EQ(strOffered, "/srv/out");
        EXPECT_EQ(m_pUnloader->m_strPath, strFolder.c_str());
    }
}

// OK, Cancel and Escape all leave the edited values in the unloader; only OK returns TRUE.
TEST_F(DlgCreateScriptTest, UnloaderHoldsTheEditedValuesHoweverTheDialogCloses) {
    const std::function<void(CDialog&)> aClose[] = {[](CDialog& dlg) { dlg.ClickButton(IDOK); },
                                                    [](CDialog& dlg) { dlg.ClickButton(IDCANCEL); },
                                                    [](CDialog& dlg) { dlg.UserCancel(); }};
    for (size_t nWay = 0; nWay < std::size(aClose); ++nWay) {
        SCOPED_TRACE(nWay);
        const BOOL bResult = Run("/srv/out", [&](CDialog& dlg) {
            dlg.UserCheck(IDC_NO_COLLATION, false);
            dlg.UserType(IDC_PATH, "/srv/other");
            dlg.UserCheck(1005, false);
            dlg.UserType(1014, "trg.sql");
            aClose[nWay](dlg);
            EXPECT_FALSE(dlg.IsModalRunning());
        });
        EXPECT_EQ(bResult, nWay == 0 ? TRUE : FALSE);
        EXPECT_EQ(m_pUnloader->m_bNoCollation, 0);
        EXPECT_EQ(m_pUnloader->m_strPath, "/srv/other");
        EXPECT_EQ(m_pUnloader->m_aFiles[1].bEnabled, 0);
        EXPECT_EQ(m_pUnloader->m_aFiles[1].strFile, "Udt.sql");
        EXPECT_EQ(m_pUnloader->m_aFiles[8].strFile, "trg.sql");
    }
    EXPECT_FALSE(Run("/srv/out", [](CDialog&) {})); // closed without an answer
}

TEST_F(DlgCreateScriptTest, PathEditCompletesFoldersAndBelongsToTheBrowseButton) {
    Run("/srv/out", [&](CDialog& dlg) {
        const auto* pEdit = dynamic_cast<const CBrowserEdit*>(dlg.GetDlgItem(IDC_PATH));
        ASSERT_NE(pEdit, nullptr);
        EXPECT_EQ(pEdit->GetDialog(), &dlg);
        EXPECT_EQ(pEdit->GetButtonId(), static_cast<UINT>(IDC_BROWSE));
        EXPECT_TRUE(pEdit->CompletesFolders());
    });

    CTempDir dir;
    for (const char* pszFolder : {"out", "other", ".hidden", "zeta"})
        std::filesystem::create_directory(dir.File(pszFolder));
    WriteWholeFile(dir.File("outfile"), "");
    const std::string strRoot = dir.File("");
    const struct {
        std::string strTyped;
        std::vector<std::string> aExpected;
    } aCases[] = {
        {strRoot + "o", {strRoot + "other/", strRoot + "out/"}},
        {strRoot + "ou", {strRoot + "out/"}},
        {strRoot, {strRoot + "other/", strRoot + "out/", strRoot + "zeta/"}},
        {strRoot + ".", {strRoot + ".hidden/"}},
        {strRoot + "x", {}},
        {strRoot + "missing/o", {}},
    };
    for (const auto& test : aCases) {
        std::vector<std::string> aFound;
        for (const CString& strFolder : CBrowserEdit::GetFolderCompletions(test.strTyped.c_str()))
            aFound.push_back(strFolder.Str());
        EXPECT_EQ(aFound, test.aExpected) << test.strTyped;
    }
}

} // namespace
