// The window layer: CWnd, CDialog and data exchange over dialog templates. How a dialog is shown is the
// business of the user-interface backend (Ui.h): in memory, on a terminal, or as a real window.
#pragma once

#include "../platform/String.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

typedef void* HWND;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LRESULT;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;

enum class EControlKind { PushButton, DefPushButton, AutoCheckBox, Edit, Static, Frame };

// One control of a dialog template; position and size in dialog units.
struct TControlTemplate {
    int nID; // -1 for controls without an id
    EControlKind eKind;
    const char* pszText;
    int x, y, cx, cy;
    bool bCentreVertically = false;
};

struct TDialogTemplate {
    UINT nID;
    const char* pszCaption;
    int cx, cy;
    const char* pszFont;
    int nPointSize;
    bool bTopmost;
    std::vector<TControlTemplate> aControls; // template order, which is the tab order
};

// The dialog template of that resource id, or null (defined with the module's resources).
const TDialogTemplate* AfxFindDialogTemplate(UINT nID);

class CWnd;

// What a real window shows of a control; told of every change the program makes.
class CWndPeer {
public:
    virtual ~CWndPeer() = default;
    virtual void OnStateChanged(CWnd& wnd) = 0;
    // The program set an edit's selection (EM_SETSEL) or scrolled its caret into view (EM_SCROLLCARET),
    // possibly to what they already were: a window selects again what the user may have moved since.
    virtual void OnSelectionSet(CWnd& wnd) { OnStateChanged(wnd); }
};

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    virtual CWnd* GetDlgItem(int nID) const {
        (void)nID;
        return nullptr;
    }
    int GetDlgCtrlID() const { return m_nID; }
    CWnd* GetParent() const { return m_pParent; }
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const { return m_bEnabled; }
    void SetWindowText(LPCTSTR lpszString);
    void GetWindowText(CString& rString) const { rString = m_strText; }
    const CString& GetText() const { return m_strText; }
    // Edit selection (EM_SETSEL, EM_SCROLLCARET) and button state (through the dialog's helpers).
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    UINT GetCheck() const { return m_nCheck; }
    void SetCheck(UINT nCheck);
    // Selection of an edit as [start, end); end -1 means to the end of the text.
    int GetSelStart() const { return m_nSelStart; }
    int GetSelEnd() const { return m_nSelEnd; }
    const TControlTemplate* GetTemplate() const { return m_pTemplate; }
    void SetPeer(CWndPeer* pPeer) { m_pPeer = pPeer; }

    // The modal loop asks after each message whether to go on.
    virtual BOOL ContinueModal() { return m_bContinueModal; }

    // The desktop window: parent of windows that have no other.
    static CWnd* GetDesktopWindow();

    HWND m_hWnd = nullptr; // non-null while the window exists

protected:
    friend class CDialog;
    void NotifyPeer();
    void NotifyPeerOfSelection();

    CWnd* m_pParent = nullptr;
    CWndPeer* m_pPeer = nullptr;
    const TControlTemplate* m_pTemplate = nullptr;
    int m_nID = 0;
    CString m_strText;
    BOOL m_bEnabled = TRUE;
    UINT m_nCheck = BST_UNCHECKED;
    int m_nSelStart = 0;
    int m_nSelEnd = 0;
    BOOL m_bContinueModal = FALSE;
};

class CDialog;

// The host's main window, parent of the module's dialogs when they have no other; null by default.
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* pWnd);

class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate; // TRUE: controls to members
};

void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Makes rControl the object of control nIDC, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Shows the dialog through the current backend; IDOK, IDCANCEL or the EndDialog value.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void EndDialog(int nResult);

    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);

    // A click on a push button: its handler, or OnOK/OnCancel for IDOK/IDCANCEL. Then ContinueModal.
    void ClickButton(int nID);
    // What the user does to a control, followed by the modal loop's ContinueModal.
    void UserCheck(int nID, bool bChecked);
    void UserType(int nID, const CString& strText);
    // Escape or the close box: OnCancel, whether or not a Cancel button is there and enabled.
    void UserCancel();
    bool IsModalRunning() const { return m_bContinueModal; }

    UINT GetTemplateID() const { return m_nIDTemplate; }
    const TDialogTemplate* GetDialogTemplate() const { return m_pDialogTemplate; }
    CWnd* GetDlgItem(int nID) const override;
    // Controls in template order.
    const std::vector<CWnd*>& GetControls() const { return m_aControls; }
    int GetModalResult() const { return m_nModalResult; }

    // For the backends: creates the controls, calls OnInitDialog; and destroys them at the end.
    void CreateControls();
    void DestroyControls();

protected:
    template <typename T> void MapButton(int nID, void (T::*pfnHandler)()) {
        m_handlers[nID] = [this, pfnHandler] { (static_cast<T*>(this)->*pfnHandler)(); };
    }

private:
    friend void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
    // Makes rControl the object of control nID, taking over its state (DDX_Control).
    void AttachControl(int nID, CWnd& rControl);
    CWnd& Control(int nID) const;
    void AfterUserAction();

    UINT m_nIDTemplate;
    const TDialogTemplate* m_pDialogTemplate;
    std::vector<std::unique_ptr<CWnd>> m_ownedControls;
    std::vector<CWnd*> m_aControls; // template order; DDX_Control may put the dialog's own objects here
    std::map<int, std::function<void()>> m_handlers;
    int m_nModalResult = IDCANCEL;
};
