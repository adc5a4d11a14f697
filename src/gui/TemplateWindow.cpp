#include "gui/TemplateWindow.h"

#include "export/BrowserEdit.h"
#include "gui/CompactStyle.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/fontenum.h>
#include <wx/settings.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textcompleter.h>
#include <wx/textctrl.h>

namespace {

wxString FromUtf8(const CString& str) {
    return wxString::FromUTF8(str.GetString(), str.GetLength());
}

// Escape and the close box act on the button of id IDCANCEL; the others keep their template ids.
int WidgetId(int nID) {
    if (nID == IDCANCEL)
        return wxID_CANCEL;
    return nID > 0 ? nID : wxID_ANY;
}

// The template's face when the system has it, else the desktop's; the template's size either way.
wxFont TemplateFont(const TDialogTemplate& dialog) {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    if (wxFontEnumerator::IsValidFacename(wxString::FromUTF8(dialog.pszFont)))
        font.SetFaceName(wxString::FromUTF8(dialog.pszFont));
    font.SetPointSize(dialog.nPointSize);
    return font;
}

// Characters of a UTF-8 text before byte offset nBytes.
long CharsBefore(const CString& strText, int nBytes) {
    return static_cast<long>(wxString::FromUTF8(strText.GetString(), static_cast<size_t>(nBytes)).length());
}

class CFolderCompleter : public wxTextCompleterSimple {
public:
    void GetCompletions(const wxString& prefix, wxArrayString& res) override {
        for (const CString& strFolder : CBrowserEdit::GetFolderCompletions(prefix.utf8_string().c_str()))
            res.push_back(FromUtf8(strFolder));
    }
};

} // namespace

// Mirrors one control's state in its widget, touching the widget only where they differ, so that the
// user's typing and caret are left alone when the program writes back what the user typed.
class CControlPeer : public CWndPeer {
public:
    CControlPeer(CWnd& wnd, wxWindow& widget) : m_wnd(wnd), m_widget(widget) {
        m_wnd.SetPeer(this);
        Apply();
        ApplySelection();
    }
    CControlPeer(const CControlPeer&) = delete;
    CControlPeer& operator=(const CControlPeer&) = delete;
    ~CControlPeer() override { m_wnd.SetPeer(nullptr); }

    void OnStateChanged(CWnd&) override { Apply(); }
    void OnSelectionSet(CWnd&) override {
        Apply();
        ApplySelection();
    }

    // The toolkit drops a selection made before the window was shown. A one-line edit keeps its caret in
    // view by itself.
    void ApplySelection() {
        auto* pEdit = dynamic_cast<wxTextCtrl*>(&m_widget);
        if (!pEdit)
            return;
        const CString& strText = m_wnd.GetText();
        const int nStart = m_wnd.GetSelStart();
        const int nEnd = m_wnd.GetSelEnd();
        if (nStart == 0 && nEnd >= strText.GetLength())
            pEdit->SelectAll();
        else
            pEdit->SetSelection(CharsBefore(strText, nStart), CharsBefore(strText, nEnd));
    }

private:
    void Apply() {
        if (m_widget.IsThisEnabled() != (m_wnd.IsWindowEnabled() != FALSE))
            m_widget.Enable(m_wnd.IsWindowEnabled() != FALSE);
        const wxString strText = FromUtf8(m_wnd.GetText());
        if (auto* pEdit = dynamic_cast<wxTextCtrl*>(&m_widget)) {
            if (pEdit->GetValue() != strText)
                pEdit->ChangeValue(strText);
        } else if (auto* pBox = dynamic_cast<wxCheckBox*>(&m_widget)) {
            if (pBox->GetValue() != (m_wnd.GetCheck() == BST_CHECKED))
                pBox->SetValue(m_wnd.GetCheck() == BST_CHECKED);
            if (pBox->GetLabel() != strText)
                pBox->SetLabel(strText);
        } else if (auto* pStatic = dynamic_cast<wxStaticText*>(&m_widget)) {
            if (pStatic->GetLabelText() != strText)
                pStatic->SetLabelText(strText);
        } else if (m_widget.GetLabel() != strText && !dynamic_cast<wxStaticBox*>(&m_widget)) {
            m_widget.SetLabel(strText);
        }
    }

    CWnd& m_wnd;
    wxWindow& m_widget;
};

CTemplateWindow::CTemplateWindow(CDialog& dlg, wxWindow* pParent) : m_dlg(dlg) {
    const TDialogTemplate& dialog = *dlg.GetDialogTemplate();
    long nStyle = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;
    if (dialog.bTopmost)
        nStyle |= wxSTAY_ON_TOP;
    Create(pParent, wxID_ANY, wxString::FromUTF8(dialog.pszCaption), wxDefaultPosition, wxDefaultSize,
           nStyle);
    ApplyCompactStyle(*this);
    SetFont(TemplateFont(dialog));
    SetClientSize(ConvertDialogToPixels(wxSize(dialog.cx, dialog.cy)));
    CreateWidgets();
    wxDialog::Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnUser([this] { m_dlg.UserCancel(); }); });
    Centre();
}

CTemplateWindow::~CTemplateWindow() {
    m_aPeers.clear();
}

wxRect CTemplateWindow::TemplateRect(const TControlTemplate& control) const {
    return wxRect(ConvertDialogToPixels(wxPoint(control.x, control.y)),
                  ConvertDialogToPixels(wxSize(control.cx, control.cy)));
}

wxWindow* CTemplateWindow::GetWidget(int nID) const {
    const std::vector<CWnd*>& aControls = m_dlg.GetControls();
    for (size_t i = 0; i < aControls.size() && i < m_aWidgets.size(); ++i)
        if (aControls[i]->GetDlgCtrlID() == nID)
            return m_aWidgets[i];
    return nullptr;
}

void CTemplateWindow::CreateWidgets() {
    for (CWnd* pWnd : m_dlg.GetControls()) {
        const TControlTemplate& control = *pWnd->GetTemplate();
        wxWindow* pWidget = CreateWidget(*pWnd, control);
        m_aWidgets.push_back(pWidget);
        Bind(*pWidget, control);
        m_aPeers.push_back(std::make_unique<CControlPeer>(*pWnd, *pWidget));
    }
}

wxWindow* CTemplateWindow::CreateWidget(CWnd& wnd, const TControlTemplate& control) {
    const wxRect rect = TemplateRect(control);
    const int nID = WidgetId(control.nID);
    const wxString strText = FromUtf8(wnd.GetText());
    switch (control.eKind) {
    case EControlKind::PushButton:
        return new wxButton(this, nID, strText, rect.GetPosition(), rect.GetSize());
    case EControlKind::DefPushButton: {
        auto* pButton = new wxButton(this, nID, strText, rect.GetPosition(), rect.GetSize());
        pButton->SetDefault();
        return pButton;
    }
    case EControlKind::AutoCheckBox:
        return new wxCheckBox(this, nID, strText, rect.GetPosition(), rect.GetSize());
    case EControlKind::Edit: {
        auto* pEdit = new wxTextCtrl(this, nID, strText, rect.GetPosition(), rect.GetSize());
        if (const auto* pBrowser = dynamic_cast<const CBrowserEdit*>(&wnd);
            pBrowser && pBrowser->CompletesFolders())
            pEdit->AutoComplete(new CFolderCompleter);
        return pEdit;
    }
    case EControlKind::Frame:
        return new wxStaticBox(this, nID, wxString(), rect.GetPosition(), rect.GetSize());
    case EControlKind::Static:
        break;
    }
    auto* pStatic =
        new wxStaticText(this, nID, wxString(), rect.GetPosition(), rect.GetSize(), wxST_NO_AUTORESIZE);
    pStatic->SetLabelText(strText);
    if (control.bCentreVertically) {
        const int nHeight = std::min(rect.height, pStatic->GetTextExtent(pStatic->GetLabel()).y);
        pStatic->SetSize(rect.x, rect.y + (rect.height - nHeight) / 2, rect.width, nHeight);
    }
    return pStatic;
}

void CTemplateWindow::Bind(wxWindow& widget, const TControlTemplate& control) {
    const int nID = control.nID;
    switch (control.eKind) {
    case EControlKind::PushButton:
    case EControlKind::DefPushButton:
        widget.Bind(wxEVT_BUTTON,
                    [this, nID](wxCommandEvent&) { OnUser([this, nID] { m_dlg.ClickButton(nID); }); });
        break;
    case EControlKind::AutoCheckBox:
        widget.Bind(wxEVT_CHECKBOX, [this, nID](wxCommandEvent& event) {
            const bool bChecked = event.IsChecked();
            OnUser([this, nID, bChecked] { m_dlg.UserCheck(nID, bChecked); });
        });
        break;
    case EControlKind::Edit:
        widget.Bind(wxEVT_TEXT, [this, nID, &widget](wxCommandEvent&) {
            const CString strText(static_cast<wxTextCtrl&>(widget).GetValue().utf8_string());
            OnUser([this, nID, strText] { m_dlg.UserType(nID, strText); });
        });
        break;
    default:
        break;
    }
}

void CTemplateWindow::OnUser(const std::function<void()>& action) {
    if (m_pError)
        return;
    try {
        action();
    } catch (...) {
        m_pError = std::current_exception();
        m_dlg.EndDialog(IDCANCEL);
    }
    if (!m_dlg.IsModalRunning() && IsModal())
        EndModal(static_cast<int>(m_dlg.GetModalResult()));
}

// As a dialog whose OnInitDialog returned TRUE: the focus on the first tab stop, the selections made there
// shown.
void CTemplateWindow::FocusFirstTabStop() {
    for (wxWindow* pWidget : m_aWidgets) {
        if (pWidget->IsEnabled() && pWidget->CanAcceptFocus()) {
            pWidget->SetFocus();
            break;
        }
    }
    for (const std::unique_ptr<CControlPeer>& pPeer : m_aPeers)
        pPeer->ApplySelection();
}

INT_PTR CTemplateWindow::RunModal() {
    CallAfter([this] { FocusFirstTabStop(); });
    ShowModal();
    if (m_pError)
        std::rethrow_exception(m_pError);
    return m_dlg.GetModalResult();
}
