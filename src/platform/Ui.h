// The user-interface backend that message boxes and modal dialogs go through, chosen by the host.
#pragma once

#include "platform/Window.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

constexpr UINT MB_OK = 0x0;

class CUiBackend {
public:
    virtual ~CUiBackend() = default;
    // Shows the text and waits until the user has seen it; returns IDOK.
    virtual int MessageBox(const CString& strText, UINT nType) = 0;
    // Runs the dialog's modal loop: CreateControls (which calls OnInitDialog), user actions until the
    // dialog ends or is closed, DestroyControls. Returns the modal result.
    virtual INT_PTR RunModal(CDialog& dlg) = 0;
    // Lets the user pick a folder; false (and strFolder unchanged) when cancelled.
    virtual bool BrowseForFolder(CString& strFolder, CWnd* pOwner, const char* pszTitle) = 0;
};

// Keeps messages in memory and lets a program play the user: tests and hosts without a terminal.
class CHeadlessUi : public CUiBackend {
public:
    using TDialogDriver = std::function<void(CDialog& dlg)>;
    using TFolderChooser = std::function<bool(CString& strFolder)>;

    int MessageBox(const CString& strText, UINT nType) override;
    INT_PTR RunModal(CDialog& dlg) override;
    bool BrowseForFolder(CString& strFolder, CWnd* pOwner, const char* pszTitle) override;

    // Called with each dialog after OnInitDialog; whatever it does not end is closed as by Escape.
    void SetDialogDriver(TDialogDriver driver);
    void SetFolderChooser(TFolderChooser chooser);
    std::vector<CString> GetMessages() const;
    void ClearMessages();

private:
    mutable std::mutex m_mutex;
    std::vector<CString> m_aMessages;
    TDialogDriver m_driver;
    TFolderChooser m_chooser;
};

// Messages on stderr; dialogs made only of buttons are asked on the terminal when stdin is one,
// otherwise answered by the fallback driver that the host sets.
class CTerminalUi : public CHeadlessUi {
public:
    int MessageBox(const CString& strText, UINT nType) override;
    INT_PTR RunModal(CDialog& dlg) override;
};

void AfxSetUiBackend(std::shared_ptr<CUiBackend> pBackend);
// The backend in force; a CHeadlessUi until a host chooses another.
CUiBackend& AfxGetUiBackend();

int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
