// A dialog template shown as a real window: one widget per control at its template position, each kept in
// step with its CWnd, and the user's actions handed to the dialog as its modal loop would.
#pragma once

#include "ui/Window.h"

#include <wx/dialog.h>

#include <exception>
#include <memory>
#include <vector>

class CControlPeer;

class CTemplateWindow : public wxDialog {
public:
    CTemplateWindow(CDialog& dlg, wxWindow* pParent);
    ~CTemplateWindow() override;

    CDialog& GetDialog() const { return m_dlg; }
    // The widget of each control, in template order.
    const std::vector<wxWindow*>& GetWidgets() const { return m_aWidgets; }
    wxWindow* GetWidget(int nID) const;
    // A control's rectangle in pixels, from its template position in dialog units.
    wxRect TemplateRect(const TControlTemplate& control) const;

    // Shows the window until the dialog ends; what a handler threw is thrown here.
    INT_PTR RunModal();

private:
    void CreateWidgets();
    wxWindow* CreateWidget(CWnd& wnd, const TControlTemplate& control);
    void Bind(wxWindow& widget, const TControlTemplate& control);
    void FocusFirstTabStop();
    // Runs a user action on the dialog and closes the window once the dialog has ended.
    void OnUser(const std::function<void()>& action);

    CDialog& m_dlg;
    std::vector<wxWindow*> m_aWidgets;
    std::vector<std::unique_ptr<CControlPeer>> m_aPeers;
    std::exception_ptr m_pError;
};
