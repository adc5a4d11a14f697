#include "gui/GuiUiBackend.h"

#include "gui/TemplateWindow.h"

#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/msgdlg.h>

#include <atomic>
#include <cstdlib>
#include <future>

namespace {

std::atomic<bool> g_bBackendExists{false};

class CGuiApp : public wxApp {
public:
    bool OnInit() override {
        SetExitOnFrameDelete(false);
        return true;
    }
};

// As AfxMessageBox does: a box without an icon of its own gets the warning sign, a question the question
// mark.
long MessageBoxStyle(UINT nType) {
    long nStyle = 0;
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        nStyle = wxOK | wxCANCEL;
        break;
    case MB_YESNO:
        nStyle = wxYES_NO;
        break;
    case MB_YESNOCANCEL:
        nStyle = wxYES_NO | wxCANCEL;
        break;
    default:
        nStyle = wxOK;
        break;
    }
    switch (nType & 0xF0) {
    case MB_ICONERROR:
        return nStyle | wxICON_ERROR;
    case MB_ICONQUESTION:
        return nStyle | wxICON_QUESTION;
    case MB_ICONWARNING:
        return nStyle | wxICON_WARNING;
    case MB_ICONINFORMATION:
        return nStyle | wxICON_INFORMATION;
    default:
        return nStyle | ((nStyle & wxYES_NO) ? wxICON_QUESTION : wxICON_WARNING);
    }
}

int MessageBoxAnswer(int nButton, UINT nType) {
    switch (nButton) {
    case wxID_YES:
        return IDYES;
    case wxID_NO:
        return IDNO;
    case wxID_CANCEL:
        return IDCANCEL;
    case wxID_OK:
        return IDOK;
    default:
        return GetDefaultMessageBoxButton(nType);
    }
}

} // namespace

std::unique_ptr<CGuiUiBackend> CGuiUiBackend::Create(const char* pszAppName, CString& strError) {
    const char* pszDisplay = std::getenv("DISPLAY");
    const char* pszWayland = std::getenv("WAYLAND_DISPLAY");
    if ((!pszDisplay || !*pszDisplay) && (!pszWayland || !*pszWayland)) {
        strError = "no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return nullptr;
    }
    if (g_bBackendExists.exchange(true)) {
        strError = "the graphical interface is already in use";
        return nullptr;
    }
    std::unique_ptr<CGuiUiBackend> pBackend(new CGuiUiBackend);
    if (!pBackend->Start(pszAppName)) {
        g_bBackendExists = false;
        strError.Format("cannot open the graphical display %s",
                        pszDisplay && *pszDisplay ? pszDisplay : pszWayland);
        return nullptr;
    }
    return pBackend;
}

extern "C" CUiBackend* ScriptsGuiCreateBackend(const char* pszAppName, CString* pstrError) {
    return CGuiUiBackend::Create(pszAppName, *pstrError).release();
}

bool CGuiUiBackend::Start(const char* pszAppName) {
    std::promise<bool> started;
    std::future<bool> result = started.get_future();
    m_thread = std::thread(
        [this, pszAppName, &started] { Run(pszAppName, [&started](bool b) { started.set_value(b); }); });
    if (result.get())
        return true;
    m_thread.join();
    return false;
}

// The toolkit's thread: it initialises the toolkit, which makes it the toolkit's main thread, and runs its
// event loop until the backend is destroyed.
void CGuiUiBackend::Run(const char* pszAppName, std::function<void(bool)> started) {
    static char szArg0[] = "sqlscripts";
    char* argv[] = {szArg0, nullptr};
    int argc = 1;
    wxApp::SetInstance(new CGuiApp);
    bool bOpened = false;
    {
        wxLogNull noLog; // the caller says in its own words that the display could not be opened
        bOpened = wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
    }
    if (!bOpened) {
        started(false);
        return;
    }
    wxTheApp->SetAppName(wxString::FromUTF8(pszAppName));
    wxTheApp->SetAppDisplayName(wxString::FromUTF8(pszAppName));
    m_guiThreadId = std::this_thread::get_id();
    started(true);
    wxTheApp->OnRun();
    wxTheApp->OnExit();
    wxEntryCleanup();
}

CGuiUiBackend::~CGuiUiBackend() {
    if (m_thread.joinable()) {
        wxTheApp->CallAfter([] { wxTheApp->ExitMainLoop(); });
        m_thread.join();
    }
    g_bBackendExists = false;
}

void CGuiUiBackend::SetShownHook(TShownHook hook) {
    Invoke([this, &hook] { m_shownHook = std::move(hook); });
}

void CGuiUiBackend::Invoke(const std::function<void()>& fn) {
    if (std::this_thread::get_id() == m_guiThreadId) {
        fn();
        return;
    }
    std::promise<void> done;
    std::future<void> result = done.get_future();
    wxTheApp->CallAfter([&fn, &done] {
        try {
            fn();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    result.get();
}

int CGuiUiBackend::MessageBox(const CString& strText, UINT nType) {
    int nAnswer = GetDefaultMessageBoxButton(nType);
    Invoke([&] {
        wxWindow* pParent = WindowOf(nullptr);
        wxMessageDialog box(pParent, wxString::FromUTF8(strText.GetString()), wxTheApp->GetAppDisplayName(),
                            MessageBoxStyle(nType));
        nAnswer = MessageBoxAnswer(box.ShowModal(), nType);
    });
    return nAnswer;
}

INT_PTR CGuiUiBackend::RunModal(CDialog& dlg) {
    INT_PTR nResult = IDCANCEL;
    Invoke([&] { nResult = ShowDialog(dlg); });
    return nResult;
}

INT_PTR CGuiUiBackend::ShowDialog(CDialog& dlg) {
    struct CControlsGuard {
        CDialog& dlg;
        ~CControlsGuard() { dlg.DestroyControls(); }
    } guard{dlg};
    dlg.CreateControls();
    if (dlg.IsModalRunning())
        dlg.ContinueModal();
    if (!dlg.IsModalRunning())
        return dlg.GetModalResult();
    CTemplateWindow window(dlg, WindowOf(nullptr));
    m_aOpenWindows.push_back(&window);
    struct CStackGuard {
        std::vector<CTemplateWindow*>& aWindows;
        ~CStackGuard() { aWindows.pop_back(); }
    } stackGuard{m_aOpenWindows};
    if (m_shownHook)
        window.CallAfter([this, &window] { m_shownHook(window); });
    return window.RunModal();
}

wxWindow* CGuiUiBackend::WindowOf(const CWnd* pWnd) const {
    for (CTemplateWindow* pWindow : m_aOpenWindows)
        if (&pWindow->GetDialog() == pWnd)
            return pWindow;
    return m_aOpenWindows.empty() ? nullptr : m_aOpenWindows.back();
}

bool CGuiUiBackend::BrowseForFolder(CString& strFolder, CWnd* pOwner, const char* pszTitle) {
    bool bChosen = false;
    Invoke([&] {
        wxWindow* pParent = WindowOf(pOwner);
        wxDirDialog chooser(pParent, wxString::FromUTF8(pszTitle), wxString::FromUTF8(strFolder.GetString()));
        if (chooser.ShowModal() != wxID_OK)
            return;
        strFolder = chooser.GetPath().utf8_string().c_str();
        bChosen = true;
    });
    return bChosen;
}
