// The options of an export run: categories, their file names, the output folder and the COLLATION option,
// edited straight in the unloader's fields.
#pragma once

#include "export/BrowserEdit.h"
#include "ui/Window.h"

class CScriptUnloader;

class CDlgCreateScript : public CDialog {
public:
    enum { IDD = 132 };
    explicit CDlgCreateScript(CWnd* pParent = nullptr);
    ~CDlgCreateScript() override;

    BOOL ContinueModal() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    CScriptUnloader* m_pUnloader = nullptr;
    CBrowserEdit m_edtPath;

protected:
    void OnBrowse();
    void OnSelectAll();
    void OnSelectNone();

private:
    void SelectAll(int bEnabled);
    void SelectPathText();
    bool CanStart() const;
};
