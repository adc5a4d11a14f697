// The question before an existing file is overwritten: "Да", "Да для всех", "Нет" or "Отмена".
#pragma once

#include "ui/Window.h"

class CDlgReplaceFile : public CDialog {
public:
    enum { IDD = 23002 };
    explicit CDlgReplaceFile(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

    CString m_strFileName;
    bool m_bNoYesToAll = false;
    bool m_bYes = false;
    bool m_bYesToAll = false;
    bool m_bNo = false;

protected:
    void OnYes();
    void OnYesToAll();
    void OnNo();
};
