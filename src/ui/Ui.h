// The user-interface layer: message boxes and modal dialogs go through a backend chosen by the host.
#pragma once

#include "../platform/String.h"
#include "Window.h"

#include <functional>
#include <mutex>
#include <vector>

// Button sets and icons of a message box.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_TYPEMASK = 0x0000000F;

// Buttons a message box answers with (IDOK and IDCANCEL come with the window layer).
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The button a box of that type answers with when nobody can press one: its first button.
int GetDefaultMessageBoxButton(UINT nType);

// Renders what the module shows. Modal operations block the calling thread until answered.
class CUiBackend {
public:
    virtual ~CUiBackend() = default;

    // Shows a modal message box; returns the button that closed it (IDOK, IDYES, ...).
    virtual int MessageBox(const CString& strText, UINT nType) = 0;
    // Runs a dialog's modal loop: CreateControls (which calls OnInitDialog), the user's actions until the
    // dialog ends or is closed, DestroyControls. Returns the modal result.
    virtual INT_PTR RunModal(CDialog& dlg) = 0;
    // Lets the user pick a folder; false, with strFolder unchanged, when cancelled.
    virtual bool BrowseForFolder(CString& strFolder, CWnd* pOwner, const char* pszTitle) = 0;
};

// One message box as shown.
struct TUiMessage {
    CString strText;
    UINT nType = MB_OK;
};

// Keeps message boxes in memory and lets a program play the user of dialogs: tests and hosts without
// a terminal. Message boxes answer with a preset button or, when none is set, their first button.
// Safe to use from several threads.
class CHeadlessUiBackend : public CUiBackend {
public:
    // Acts on a dialog after OnInitDialog (ClickButton, UserCheck, UserType); a dialog it leaves
    // open is closed as by Escape.
    using TDialogDriver = std::function<void(CDialog& dlg)>;
    // Picks a folder or returns false as a cancelled browser does.
    using TFolderChooser = std::function<bool(CString& strFolder)>;

    int MessageBox(const CString& strText, UINT nType) override;
    INT_PTR RunModal(CDialog& dlg) override;
    bool BrowseForFolder(CString& strFolder, CWnd* pOwner, const char* pszTitle) override;

    std::vector<TUiMessage> GetMessages() const;
    void ClearMessages();
    // 0 restores the first-button answer.
    void SetMessageBoxAnswer(int nAnswer);
    void SetDialogDriver(TDialogDriver driver);
    void SetFolderChooser(TFolderChooser chooser);

private:
    mutable std::mutex m_mutex;
    std::vector<TUiMessage> m_aMessages;
    int m_nAnswer = 0;
    TDialogDriver m_driver;
    TFolderChooser m_chooser;
};

// Message boxes on stderr, one line each. A dialog of buttons and text is asked on the terminal when
// stdin is one; otherwise the dialog driver that the host set answers, as in the headless backend.
class CTerminalUiBackend : public CHeadlessUiBackend {
public:
    int MessageBox(const CString& strText, UINT nType) override;
    INT_PTR RunModal(CDialog& dlg) override;
};

// The backend all user interface goes through; null restores the built-in headless backend.
void AfxSetUiBackend(CUiBackend* pBackend);
CUiBackend* AfxGetUiBackend();
// The built-in headless backend, in use while the host chooses none.
CHeadlessUiBackend& AfxGetHeadlessUiBackend();

// Makes the backend the one all user interface goes through while it lives, and restores the one before.
class CUiBackendScope {
public:
    explicit CUiBackendScope(CUiBackend* pBackend) : m_pPrevious(AfxGetUiBackend()) {
        AfxSetUiBackend(pBackend);
    }
    CUiBackendScope(const CUiBackendScope&) = delete;
    CUiBackendScope& operator=(const CUiBackendScope&) = delete;
    ~CUiBackendScope() { AfxSetUiBackend(m_pPrevious); }

private:
    CUiBackend* m_pPrevious;
};

int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Shows string resource nIDPrompt.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
