// Real windows for the module's dialogs, message boxes and folder browser, on wxWidgets. The toolkit runs
// on a thread of its own: a modal question asked from any thread (the caller's, or a worker of the
// parallel export) is shown there while the asking thread waits for the answer.
#pragma once

#include "ui/Ui.h"

#include <functional>
#include <memory>
#include <thread>

class CTemplateWindow;
class wxWindow;

class CGuiUiBackend : public CUiBackend {
public:
    // Opens the display for the program pszAppName (the caption of its message boxes). Null, with the
    // reason in strError, when there is no display or it cannot be opened. One backend per process.
    static std::unique_ptr<CGuiUiBackend> Create(const char* pszAppName, CString& strError);
    CGuiUiBackend(const CGuiUiBackend&) = delete;
    CGuiUiBackend& operator=(const CGuiUiBackend&) = delete;
    ~CGuiUiBackend() override;

    int MessageBox(const CString& strText, UINT nType) override;
    INT_PTR RunModal(CDialog& dlg) override;
    bool BrowseForFolder(CString& strFolder, CWnd* pOwner, const char* pszTitle) override;

    // Called on the toolkit's thread once a dialog's window is on screen: tests and the screenshot tool
    // look at it and play the user there.
    using TShownHook = std::function<void(CTemplateWindow& window)>;
    void SetShownHook(TShownHook hook);

    // Runs fn on the toolkit's thread and waits for it; what it throws is thrown here.
    void Invoke(const std::function<void()>& fn);

private:
    CGuiUiBackend() = default;
    bool Start(const char* pszAppName);
    void Run(const char* pszAppName, std::function<void(bool)> started);
    INT_PTR ShowDialog(CDialog& dlg);
    // The open window of that dialog, else the topmost open one: owner of the windows opened above it.
    wxWindow* WindowOf(const CWnd* pWnd) const;

    std::thread m_thread;
    std::thread::id m_guiThreadId;
    TShownHook m_shownHook; // used on the toolkit's thread only
    std::vector<CTemplateWindow*> m_aOpenWindows;
};

// The entry point of libscripts-gui.so for programs that load it at run time (dlopen, dlsym): the backend as
// CGuiUiBackend::Create makes it, owned by the caller, or null with the reason in *pstrError.
extern "C" CUiBackend* ScriptsGuiCreateBackend(const char* pszAppName, CString* pstrError);
